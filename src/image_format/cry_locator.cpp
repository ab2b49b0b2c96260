#include "image_format/cry_locator.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <span>
#include <vector>

#include "image_format/title_screen_code.h"

namespace vantrel {
namespace {

// A code that stands in one of several forms, all of one size and all found
// for the same place in them: the title screen's code.
struct Forms {
  std::span<const Code> codes;
  std::size_t Size() const { return codes.front().size; }
  std::size_t Found() const { return codes.front().found; }
  // The form `bytes` begin with, if any.
  std::optional<std::size_t> Matching(std::span<const std::uint8_t> bytes) const {
    for (std::size_t form = 0; form < codes.size(); ++form) {
      if (Matches(codes[form], bytes)) return form;
    }
    return std::nullopt;
  }
};

// Where a code was met: how often, counted up to 2, and the first copy's
// place (of what it is found for), form and bytes.
struct Met {
  int copies = 0;
  std::int64_t place = 0;
  std::size_t form = 0;
  std::vector<std::uint8_t> bytes;

  void Add(const Forms& forms, std::size_t which, std::int64_t start,
           std::span<const std::uint8_t> at) {
    if (copies++ > 0) return;
    place = start + static_cast<std::int64_t>(forms.Found());
    form = which;
    bytes.assign(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(forms.Size()));
  }
};

// The code's bytes where `place` is, as far as the file holds them.
std::vector<std::uint8_t> BytesAt(ByteSource& file, const Forms& forms, std::int64_t place) {
  std::vector<std::uint8_t> bytes(forms.Size());
  bytes.resize(file.Read(place - static_cast<std::int64_t>(forms.Found()), bytes));
  return bytes;
}

// The code as it stands in `bytes` read where `place` is, if it does.
Met MetIn(const Forms& forms, std::span<const std::uint8_t> bytes, std::int64_t place) {
  Met met;
  if (const std::optional<std::size_t> form = forms.Matching(bytes)) {
    met.Add(forms, *form, place - static_cast<std::int64_t>(forms.Found()), bytes);
  }
  return met;
}

struct Sought {
  Forms forms;
  Met& met;
};

// Meets the code in a block read at `start`, wherever it starts in the
// block's first `starts` bytes. memchr finds the code's first byte, which
// all its forms share, at memory speed.
void Scan(std::span<const std::uint8_t> read, std::size_t starts, std::int64_t start,
          const Sought& sought) {
  const std::uint8_t first = sought.forms.codes.front().parts.front().bytes.front();
  for (std::size_t at = 0; at < starts && sought.met.copies < 2; ++at) {
    const void* next = std::memchr(read.data() + at, first, starts - at);
    if (next == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - read.data());
    if (const std::optional<std::size_t> form = sought.forms.Matching(read.subspan(at))) {
      sought.met.Add(sought.forms, *form, start + static_cast<std::int64_t>(at), read.subspan(at));
    }
  }
}

// One pass over the first 32 MiB for all the codes sought, until each has
// been met twice. Blocks overlap by the longest code's size less one, so that
// a copy across two blocks is met once, in the block where it starts; and no
// block reads past 32 MiB, so that only code a cartridge maps whole is met.
void Search(ByteSource& file, std::span<const Sought> sought) {
  if (sought.empty()) return;
  constexpr std::int64_t kBlock = std::int64_t{1} << 20;
  std::size_t longest = 0;
  for (const Sought& one : sought) longest = std::max(longest, one.forms.Size());
  std::vector<std::uint8_t> buffer(kBlock + longest - 1);
  const auto all_twice = [&] {
    return std::all_of(sought.begin(), sought.end(),
                       [](const Sought& one) { return one.met.copies == 2; });
  };
  for (std::int64_t start = 0; start < kCartridgeSize && !all_twice(); start += kBlock) {
    const std::span<std::uint8_t> block = std::span(buffer).first(static_cast<std::size_t>(
        std::min<std::int64_t>(std::ssize(buffer), kCartridgeSize - start)));
    const std::size_t got = file.Read(start, block);
    const std::span<const std::uint8_t> read = block.first(got);
    const std::size_t starts = std::min<std::size_t>(got, kBlock);
    for (const Sought& one : sought) Scan(read, starts, start, one);
    if (got < block.size()) break;
  }
}

const Release* ReleaseNamed(const ImageHeader& header) {
  if (!header.present) return nullptr;
  const auto named = std::find_if(kReleases.begin(), kReleases.end(), [&](const Release& release) {
    return release.game_code == header.game_code &&
           release.software_version == header.software_version;
  });
  return named != kReleases.end() ? &*named : nullptr;
}

// The file offset a word of the cry call's code points at, when it holds a
// cartridge address inside the image.
std::optional<std::int64_t> PointedAt(std::span<const std::uint8_t> bytes, std::size_t at,
                                      std::int64_t size) {
  const std::uint32_t address = WordAt(bytes, at);
  if (address < kCartridgeAddress || address - kCartridgeAddress >= size) return std::nullopt;
  return address - kCartridgeAddress;
}

CryTableLocation TableOf(const Met& call, bool at_release_words, std::int64_t size) {
  CryTableLocation table;
  table.at_release_words = at_release_words;
  table.copies_found = call.copies;
  if (call.copies != 1) return table;
  const auto block0 = PointedAt(call.bytes, kFirstCryTableWord, size);
  const auto block1 = PointedAt(call.bytes, kSecondCryTableWord, size);
  if (block0 && block1) {
    table.words = CryTableWordsFrom(call.place);
    table.block0 = *block0;
    table.block1 = *block1;
  }
  return table;
}

constexpr Forms kTitleScreen{kTitleScreenForms};
constexpr Forms kCryCall{std::span(&kCryCallCode, 1)};

CryByteLocation Locate(ByteSource& file, bool with_cry_table) {
  CryByteLocation location;
  location.header = ReadImageHeader(file);
  location.stock = StockCryOf(location.header.game_code);
  location.release = ReleaseNamed(location.header);
  const Release* release = location.release;
  Met title;
  if (release != nullptr) {
    const std::vector<std::uint8_t> bytes = BytesAt(file, kTitleScreen, release->cry_byte);
    title = MetIn(kTitleScreen, bytes, release->cry_byte);
    // A write cut short: the image is this release's, its window torn.
    if (IsHalfWritten(bytes)) location.half_written = release->cry_byte;
  }
  Met call = with_cry_table && release != nullptr
                 ? MetIn(kCryCall, BytesAt(file, kCryCall, release->cry_table_word),
                         release->cry_table_word)
                 : Met{};
  location.at_release_offset = title.copies == 1;
  const bool at_release_words = call.copies == 1;
  std::vector<Sought> sought;
  if (title.copies == 0 && !location.half_written) sought.push_back({kTitleScreen, title});
  if (with_cry_table && call.copies == 0) sought.push_back({kCryCall, call});
  Search(file, sought);
  location.copies_found = title.copies;
  if (title.copies == 1) {
    location.offset = title.place;
    location.form = static_cast<TitleScreenForm>(title.form);
  }
  if (with_cry_table) {
    location.cry_table = TableOf(call, at_release_words, location.header.file_size);
  }
  return location;
}

}  // namespace

CryByteLocation LocateCryByte(ByteSource& file) {
  return Locate(file, false);
}

CryByteLocation LocateCryByteAndTable(ByteSource& file) {
  return Locate(file, true);
}

std::string ReleaseText(const CryByteLocation& location) {
  const ImageHeader& header = location.header;
  if (!header.present) return "no header";
  const std::string fields = " (" + PrintableText(header.game_code) + ", version " +
                             std::to_string(header.software_version) + ")";
  return (location.release != nullptr ? std::string(location.release->name) : "unknown release") +
         fields;
}

std::string FindingText(const CryByteLocation& location) {
  if (location.at_release_offset) return "known release";
  if (location.offset) return "found by the title screen's code";
  if (location.half_written)
    return "the title screen's code is half written (a write was cut short)";
  return location.copies_found == 0 ? "the title screen's code is not in the image"
                                    : "the title screen's code is in the image more than once";
}

std::string CryTableFindingText(const CryTableLocation& location) {
  if (location.words) {
    return location.at_release_words ? "known release" : "found by the cry call's code";
  }
  if (location.copies_found == 1) return "the cry call's words point outside the image";
  return location.copies_found == 0 ? "the cry call's code is not in the image"
                                    : "the cry call's code is in the image more than once";
}

}  // namespace vantrel
