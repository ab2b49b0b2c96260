#pragma once

#include <string>
#include <string_view>

namespace vantrel::win32 {

// UTF-8 <-> UTF-16 for the wide Windows calls. Every character converts,
// embedded NULs included, so that NUL-separated lists survive.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace vantrel::win32
