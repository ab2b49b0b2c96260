#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::fuzz {

namespace fs = std::filesystem;

// A broken property is a crash, so that libFuzzer keeps the input.
void Check(bool holds, std::string_view property);

// The fuzzer's bytes as text.
inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own under TMPDIR, created on first use and
// removed when the process ends normally.
const fs::path& Sandbox();

void WriteFile(const fs::path& path, std::string_view bytes);
// Reads into `bytes`, reusing its storage: the targets read an image on every
// run.
const std::string& ReadFile(const fs::path& path, std::string& bytes);

}  // namespace vantrel::fuzz
