#pragma once

#include <string>
#include <string_view>

namespace vantrel::cli {

// A file name as it may be printed on a terminal: control characters (C0,
// DEL, C1) and bytes that are not UTF-8 are escaped (\n, \t, \r, \xNN), so
// that a name can neither split a line nor send the terminal a command;
// every other name, Unicode included, prints as it is.
std::string PrintableName(std::string_view name);

}  // namespace vantrel::cli
