// The image functions on files named by path, and the store over them; the
// web build, which has no files of its own, leaves this out.
#include <filesystem>
#include <system_error>

#include "cry/cry_slot.h"
#include "cry/image_cry.h"
#include "cry/image_store.h"
#include "runtime/binary_file.h"
#include "runtime/path_text.h"

namespace vantrel {

CryReading ReadImageCry(const std::filesystem::path& path, bool with_cry_table) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  CryReading reading = ReadImageCry(file, with_cry_table);
  file.Close();
  return reading;
}

ImageNames ReadImageNames(const std::filesystem::path& path) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  ImageNames names = ReadImageNames(file);
  file.Close();
  return names;
}

namespace {

CryWriting WriteThrough(BinaryFile& file, std::optional<int> species, bool force) {
  const CryWriting plan = PlanCryWrite(file, species, force);
  if (plan.at && plan.bytes.size() == 1) WriteCry(file, *plan.at, plan.bytes.front());
  if (plan.at && plan.bytes.size() > 1) WriteCry(file, *plan.at, plan.bytes);
  file.Close();
  return plan;
}

}  // namespace

CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<int> species,
                         bool force) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kReadWrite);
  return WriteThrough(file, species, force);
}

std::optional<CryWriting> WriteImageCry(const std::filesystem::path& path,
                                        const SpeciesChooser& choose, bool force) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kReadWrite);
  const std::optional<int> species = choose(ReadImageNames(file));
  if (!species) return std::nullopt;
  return WriteThrough(file, species, force);
}

ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  ImageCrySound sound = ReadImageCrySound(file, species);
  file.Close();
  return sound;
}

namespace {

class PathImageStore final : public ImageStore {
 public:
  std::string Kept(const std::string& name) const override {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(name), failed);
    return failed ? name : Utf8FromPath(absolute);
  }
  CryReading Read(const std::string& name) override { return ReadImageCry(PathFromUtf8(name)); }
  ImageCrySound ReadSound(const std::string& name, int species) override {
    return ReadImageCrySound(PathFromUtf8(name), species);
  }
  void Write(const std::string& name, std::optional<int> species, WriteDone done) override {
    // The outcome is taken first, so that a failure inside `done` is not
    // taken for the write's.
    const WriteOutcome outcome = [&]() -> WriteOutcome {
      try {
        return WriteImageCry(PathFromUtf8(name), species);
      } catch (const RuntimeError& error) {
        return error;
      }
    }();
    done(outcome);
  }
};

}  // namespace

ImageStore& FileImages() {
  static PathImageStore store;
  return store;
}

}  // namespace vantrel
