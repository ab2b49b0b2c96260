#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

namespace vantrel::fuzz {
namespace {

class OwnedFolder {
 public:
  OwnedFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("vantrel-fuzz-" + std::to_string(random()));
    fs::create_directory(path_);
  }
  ~OwnedFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  OwnedFolder(const OwnedFolder&) = delete;
  OwnedFolder& operator=(const OwnedFolder&) = delete;

  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

void Check(bool holds, std::string_view property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property broken: %.*s\n", static_cast<int>(property.size()),
               property.data());
  std::abort();
}

const fs::path& Sandbox() {
  static const OwnedFolder folder;
  return folder.Path();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check(file.flush().good(), "the fuzz target can write its own files");
}

const std::string& ReadFile(const fs::path& path, std::string& bytes) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  bytes.resize(static_cast<std::size_t>(std::max<std::streamoff>(file.tellg(), 0)));
  file.seekg(0);
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

}  // namespace vantrel::fuzz
