#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// Texts are UTF-8 throughout the program; these convert at the boundary to
// the platform's path type so that any Unicode name works on every platform.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace vantrel
