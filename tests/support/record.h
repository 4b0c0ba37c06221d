// Records as tests write, compare and show them.
#pragma once

#include "optinfo.h"

#include <initializer_list>
#include <string>

// A record from its twelve fields in layout order.
OptionInfo Record(std::initializer_list<LONG> fields);

// The twelve fields as text, for comparisons that show what differs.
std::string Fields(const OptionInfo &info);

// A record whose every byte is 0xA5: what a call left untouched.
OptionInfo Canary();
bool IsCanary(const OptionInfo &info);

// A typical caller's record.
OptionInfo CallerRecord();

bool SameRecord(const OptionInfo &a, const OptionInfo &b);
