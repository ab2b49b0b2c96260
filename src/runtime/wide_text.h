#pragma once

// UTF-8 <-> UTF-16 for the wide Windows calls, and the wide command line.
#ifdef _WIN32

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Every character converts, embedded NULs included, so that NUL-separated
// lists survive.
std::wstring WideFromUtf8(std::string_view text);
// Text that is not well-formed UTF-16 (a lone surrogate, which a Windows
// file name may hold) has no UTF-8 form: it raises error 52, "Bad file name
// or number", where a replacement character would name another file.
std::string Utf8FromWide(std::wstring_view text);

// The arguments of a wide command line, without the program's name.
std::vector<std::wstring> WideArguments(const wchar_t* command_line);

}  // namespace vantrel

#endif
