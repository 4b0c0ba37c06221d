// Records and texts shared by the dialog tests.
#pragma once

#include "optinfo.h"

#include <initializer_list>
#include <string>

// A record from its twelve fields in layout order.
OptionInfo Record(std::initializer_list<LONG> fields);

// The twelve fields as text, for comparisons that show what differs.
std::string Fields(const OptionInfo &info);

// The same text for a record of twelve 0xA5A5A5A5: an output the call did not write.
OptionInfo Canary();
