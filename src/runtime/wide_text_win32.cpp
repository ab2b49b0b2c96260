#include "runtime/wide_text.h"

#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

#include "runtime/error.h"

namespace vantrel {

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, nullptr,
                                       0, nullptr, nullptr);
  if (size == 0) throw RuntimeError(kBadFileNameOrNumber);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

std::vector<std::wstring> WideArguments(const wchar_t* command_line) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(command_line, &count);
  std::vector<std::wstring> result;
  for (int i = 1; arguments != nullptr && i < count; ++i) result.emplace_back(arguments[i]);
  LocalFree(arguments);
  return result;
}

}  // namespace vantrel
