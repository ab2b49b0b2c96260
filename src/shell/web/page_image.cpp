#include "shell/web/page_image.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

// The image's slices, read synchronously in the worker (worker.js).
EM_JS(double, js_image_size, (), { return imageSize(); });
EM_JS(int, js_image_read, (double offset, unsigned char* into, int size),
      { return readImage(offset, into, size); });
EM_JS(void, js_failure_name, (char* into, int size), { failureName(into, size); });
EM_JS(void, js_write_bytes, (double at, const unsigned char* bytes, int count),
      { writeBytes(at, bytes, count); });

namespace vantrel::web {
namespace {

// What the browser's errors (DOMException names) mean for the file.
struct BrowserError {
  std::string_view name;
  ErrorNumber number;
};
constexpr BrowserError kBrowserErrors[] = {
    {"NotFoundError", kFileNotFound},
    {"NotAllowedError", kPermissionDenied},
    {"SecurityError", kPermissionDenied},
    {"NoModificationAllowedError", kPermissionDenied},
    {"QuotaExceededError", kDiskFull},
    // A File changed or taken away since the page was given it.
    {"NotReadableError", kPathFileAccessError},
};

}  // namespace

RuntimeError BrowserFailure() {
  std::array<char, 64> name{};
  js_failure_name(name.data(), static_cast<int>(name.size()));
  for (const BrowserError& known : kBrowserErrors) {
    if (known.name == name.data()) return RuntimeError(known.number);
  }
  return RuntimeError(kDeviceIoError);
}

std::int64_t PageFile::Size() const {
  return static_cast<std::int64_t>(js_image_size());
}

std::size_t PageFile::ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) {
  for (const Slice& slice : kept_) {
    const std::int64_t end = slice.offset + static_cast<std::int64_t>(slice.bytes.size());
    if (offset >= slice.offset && offset + static_cast<std::int64_t>(into.size()) <= end) {
      std::copy_n(slice.bytes.begin() + (offset - slice.offset), into.size(), into.begin());
      return into.size();
    }
  }
  const int got =
      js_image_read(static_cast<double>(offset), into.data(), static_cast<int>(into.size()));
  if (got < 0) throw BrowserFailure();
  const auto read = into.first(static_cast<std::size_t>(got));
  if (read.size() <= kKeptSlice) kept_.push_back({offset, {read.begin(), read.end()}});
  return read.size();
}

CryReading PageImages::Read(const std::string&) {
  PageFile file;
  return ReadImageCry(file);
}

ImageCrySound PageImages::ReadSound(const std::string&, int species) {
  PageFile file;
  return ReadImageCrySound(file, species);
}

void PageImages::Write(const std::string&, std::optional<int> species, WriteDone done) {
  CryWriting plan;
  try {
    PageFile file;
    plan = PlanCryWrite(file, species);
  } catch (const RuntimeError& error) {
    done(error);
    return;
  }
  if (!plan.at) {
    done(plan);
    return;
  }
  pending_ = Pending{std::move(plan), std::move(done)};
  const CryWriting& writing = pending_->writing;
  js_write_bytes(static_cast<double>(*writing.at), writing.bytes.data(),
                 static_cast<int>(writing.bytes.size()));
}

void PageImages::Written(bool failed) {
  if (!pending_) return;
  Pending ended = std::move(*pending_);
  pending_.reset();
  if (failed) {
    ended.done(BrowserFailure());
  } else {
    ended.done(ended.writing);
  }
}

}  // namespace vantrel::web
