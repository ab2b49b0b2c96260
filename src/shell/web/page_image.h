#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "api/vantrel.h"

namespace vantrel::web {

// The image as the page's worker reads it: the File the page handed with
// the command being run, read a slice at a time as the core asks, never
// whole. Each read costs the browser a round trip, so a few bytes read
// again within a command (the cry byte, read with the code around it) come
// from the slices already read.
class PageFile final : public ByteSource {
 public:
  std::int64_t Size() const override;

 private:
  std::size_t ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) override;

  struct Slice {
    std::int64_t offset;
    std::vector<std::uint8_t> bytes;
  };
  // Slices up to this size are kept: the code and header reads, not the
  // large blocks of a search.
  static constexpr std::size_t kKeptSlice = 256;
  std::vector<Slice> kept_;
};

// The store of the page: the image is the File handed with each command
// (the page takes it anew from the file's handle, where it has one), and a
// write's bytes go back to the page, which writes them into the file
// through its handle or gives the patched image as a download. The write
// ends when the page reports it (Written).
class PageImages final : public ImageStore {
 public:
  std::string Kept(const std::string& name) const override { return name; }
  CryReading Read(const std::string& name) override;
  ImageCrySound ReadSound(const std::string& name, int species) override;
  void Write(const std::string& name, std::optional<int> species, WriteDone done) override;

  // The page has written the bytes, or has failed to (`failed`, the reason
  // kept in worker.js).
  void Written(bool failed);
  bool Writing() const { return pending_.has_value(); }

 private:
  struct Pending {
    CryWriting writing;
    WriteDone done;
  };
  std::optional<Pending> pending_;
};

// The runtime's failure for the last error the browser gave (its name, kept
// in worker.js).
RuntimeError BrowserFailure();

}  // namespace vantrel::web
