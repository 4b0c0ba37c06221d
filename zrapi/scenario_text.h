// Escaped byte text, as the virtual printer's scenario files and call log write it:
// printable ASCII stands for itself; \\ \" \0 \t \r \n and \xHH stand for one byte each.
#pragma once

#include <string>

namespace zrapi {

// The bytes as text that Unescape turns back into the same bytes.
std::string Escape(const std::string &strBytes);

// False, with the reason in strError, when an escape is malformed.
bool Unescape(const std::string &strText, std::string &strBytes, std::string &strError);

} // namespace zrapi
