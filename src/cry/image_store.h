#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "cry/image_cry.h"
#include "runtime/error.h"

namespace vantrel {

// Where the window's commands read and write the image it has open, named as
// the user chose it: files by their paths on the desktop, the file a browser
// hands the page on the web.
class ImageStore {
 public:
  // A write's outcome: what it found and wrote, or the failure that stopped
  // it.
  using WriteOutcome = std::variant<CryWriting, RuntimeError>;
  using WriteDone = std::function<void(const WriteOutcome&)>;

  virtual ~ImageStore() = default;

  // The name the window keeps for the image chosen as `name`.
  virtual std::string Kept(const std::string& name) const = 0;
  // As ReadImageCry and ReadImageCrySound; failures are raised.
  virtual CryReading Read(const std::string& name) = 0;
  virtual ImageCrySound ReadSound(const std::string& name, int species) = 0;
  // As WriteImageCry, unforced. Calls `done` once the bytes are written or the
  // write has failed: before it returns, or later where the platform writes
  // asynchronously.
  virtual void Write(const std::string& name, std::optional<int> species, WriteDone done) = 0;
};

// The files of this machine by their UTF-8 paths, kept absolute: a dialog
// that changes the current folder must not move the image opened.
ImageStore& FileImages();

}  // namespace vantrel
