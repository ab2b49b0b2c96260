#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// The longest path the platform accepts, its terminating NUL included: the
// file dialogs' buffer size, so that no path the user can pick is cut off.
#ifdef _WIN32
inline constexpr std::uint32_t kLongestPath = 32768;
#else
inline constexpr std::uint32_t kLongestPath = 4096;
#endif

// Texts are UTF-8 throughout the program; these convert at the boundary to
// the platform's path type so that any Unicode name works on every platform.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace vantrel
