#!/bin/bash
# Checks the direction of the source tree's includes and the test folders' independence:
#   - a folder of src/ includes only itself and the folders after it in ORDER (res/ and
#     include/ stand beside them all);
#   - a test's "folder/name" include names exactly one file of src/ and tests/, and the only
#     test folder it names is support/;
#   - no test folder's build file compiles a source of another folder of tests/.
# Usage: scripts/check-includes.sh [SOURCE_DIR]; prints each breach, exit status 1 if any.
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
ORDER=(entry dialog sheet link model util runtime framework)
failed=0
breach() { echo "$1: $2"; failed=1; }

rank() {
    local i
    for i in "${!ORDER[@]}"; do [ "${ORDER[$i]}" = "$1" ] && echo "$i" && return; done
    echo -1
}

# Quoted includes of a file, one "line:target" per include.
includes() { grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$1" | sed 's/:[^"]*"\([^"]*\)".*/:\1/'; }

for file in $(find src -name '*.cpp' -o -name '*.h' | sort); do
    own=$(rank "$(echo "$file" | cut -d/ -f2)")
    [ "$own" -ge 0 ] || continue
    while IFS=: read -r line target; do
        folder=${target%%/*}
        [ "$folder" != "$target" ] || continue
        other=$(rank "$folder")
        [ "$other" -lt 0 ] || [ "$other" -ge "$own" ] || breach "$file:$line" "includes $target, above its folder"
    done < <(includes "$file")
done

for file in $(find tests -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort); do
    while IFS=: read -r line target; do
        [ "${target%%/*}" != "$target" ] || continue
        found=0
        for base in src tests; do [ -f "$base/$target" ] && found=$((found + 1)); done
        [ "$found" -le 1 ] || breach "$file:$line" "$target names a file in both src/ and tests/"
        if [ -f "tests/$target" ] && [ "${target%%/*}" != support ]; then
            breach "$file:$line" "includes $target from another test folder, not from tests/support"
        fi
    done < <(includes "$file")
done

for list in tests/*/CMakeLists.txt; do
    grep -nE '(\.\./|PROJECT_SOURCE_DIR\}/tests/)[^ )]*\.(cpp|c)' "$list" | while IFS=: read -r line _; do
        echo "$list:$line: compiles a source of another test folder"
    done | grep . && failed=1
done
exit $failed
