#include "dialogs/cls_common_dialog.h"

#include <algorithm>

#include "runtime/app.h"
#include "runtime/error.h"

namespace vantrel {
namespace {

constexpr std::size_t kMaxProposedName = 128;
constexpr std::uint32_t kTitleBufferSize = 255;

std::string BeforeFirstNul(const std::string& buffer) {
  return buffer.substr(0, buffer.find('\0'));
}

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Characters, not bytes: a proposed name may hold any Unicode letter.
std::size_t CharacterCount(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string ConvertFilter(std::string_view Filter) {
  std::string converted(Filter);
  std::replace(converted.begin(), converted.end(), '|', '\0');
  if (converted.empty() || converted.back() != '\0') converted.push_back('\0');
  return converted;
}

std::string clsCommonDialog::ShowOpen(std::uintptr_t hwnd, std::string_view Title,
                                      std::string_view InitDir, std::string_view Filter,
                                      std::uint32_t flags) {
  record_.lStructSize = kOpenFileNameSize;
  record_.hwndOwner = hwnd;
  record_.hInstance = AppInstanceHandle();
  record_.lpstrFilter = ConvertFilter(Filter);
  record_.lpstrFile = std::string(kLongestPath - 1, ' ');
  record_.nMaxFile = kLongestPath;
  record_.lpstrFileTitle = std::string(kTitleBufferSize - 1, ' ');
  record_.nMaxFileTitle = kTitleBufferSize;
  record_.lpstrInitialDir = InitDir.empty() ? LastFileName : std::string(InitDir);
  record_.lpstrTitle = Title;
  record_.Flags = flags;

  std::string result;
  if (backend_.ShowOpenDialog(record_)) result = TrimBlanks(BeforeFirstNul(record_.lpstrFile));
  if (!result.empty()) {
    LastFileName = result;
    LastFilterIndex = static_cast<std::int32_t>(record_.nFilterIndex);
  }
  return result;
}

std::string clsCommonDialog::ShowSave(std::uintptr_t hwnd, std::string_view Title,
                                      std::string_view FileName, std::string_view InitDir,
                                      std::string_view Filter, std::uint32_t flags) {
  const std::string filter = ConvertFilter(Filter);
  if (CharacterCount(FileName) > kMaxProposedName) {
    throw RuntimeError(kInvalidProcedureCall);
  }
  std::string buffer(FileName);
  buffer.resize(kLongestPath, '\0');

  record_.lStructSize = kOpenFileNameSize;
  record_.hwndOwner = hwnd;
  record_.hInstance = AppInstanceHandle();
  record_.Flags = flags;
  record_.lpstrFile = buffer;
  record_.nMaxFile = static_cast<std::uint32_t>(buffer.size());
  record_.lpstrFilter = filter;
  record_.lpstrInitialDir = InitDir;
  record_.lpstrTitle = Title;
  record_.lpstrDefExt = ".gpl";

  if (!backend_.ShowSaveDialog(record_)) return {};
  LastFilterIndex = static_cast<std::int32_t>(record_.nFilterIndex);
  return BeforeFirstNul(record_.lpstrFile);
}

}  // namespace vantrel
