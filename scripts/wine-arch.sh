#!/usr/bin/env bash
# Prints the architecture whose Windows programs Wine can run on this machine: i686 where
# the kernel executes 32-bit programs (32-bit Wine needs that), else x86_64.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
