#include "cli/cli.h"

#include <functional>
#include <optional>
#include <string_view>

#include "cli/cry_export.h"
#include "cli/printable_name.h"
#include "cli/species_names.h"
#include "cry/cry_slot.h"
#include "cry/image_cry.h"
#include "cry/species_list.h"
#include "runtime/failure_box.h"
#include "runtime/app.h"
#include "runtime/error.h"
#include "runtime/hex.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"

namespace vantrel::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: vantrel-cli COMMAND [ARGUMENTS]\n"
    "Shows or changes the cry a FireRed or LeafGreen image plays on its title screen.\n"
    "\n"
    "  show IMAGE...          print the cry of each image: VALUE NAME\n"
    "  info IMAGE...          print the size, the header's fields, the release, where\n"
    "                         the cry byte is and how it was found, the cry, and\n"
    "                         where the cry table is and how it was found\n"
    "  set IMAGE SPECIES      write a species, by name or by number 0 to 251\n"
    "  remove IMAGE           write 0: no cry\n"
    "  restore IMAGE          write the image's stock cry (FireRed 6, LeafGreen 3)\n"
    "  cry IMAGE [SPECIES] -o FILE\n"
    "                         write the cry of SPECIES, or the title screen's, from the\n"
    "                         image as a WAV file; -o - writes it to the output\n"
    "  species                list the species: NUMBER<TAB>NAME\n"
    "  --help, --version\n"
    "\n"
    "The cry byte is found by the title screen's own code, and the cry table by\n"
    "the cry call's: where each of the twelve releases keeps them, else by one\n"
    "search of the image, which must find each code once. Without the cry byte\n"
    "nothing is written; with --force, set, remove and restore then write at\n"
    "0x791EE, where the first releases keep it.\n"
    "Put -- before an image name that starts with a dash.\n"
    "Exit status: 0 done, 1 file failure or no cry byte, 2 usage error.\n";

// The failure box of a command-line run: one line on the error stream, led
// by the image's name when a command works on several.
class ErrorLineBox : public MessageBoxService {
 public:
  explicit ErrorLineBox(Output& err) : err_(err) {}
  void SetSubject(std::string_view image) { subject_ = PrintableName(image); }
  void Show(std::string_view text, std::string_view title) override {
    if (!subject_.empty()) err_ << subject_ << ": ";
    err_ << title << ": " << text << '\n';
  }

 private:
  Output& err_;
  std::string subject_;
};

// One line on what is wrong and where to read more, rather than the whole
// usage scrolling the mistake away.
int UsageError(Output& err, std::string_view problem) {
  err << "vantrel-cli: " << problem << "\nTry 'vantrel-cli --help'.\n";
  return kUsageError;
}

// An image's cry byte that cannot be found: the image's line on stderr.
struct NoCryByte {
  CryByteLocation location;
};

// One read-only open; a failure is shown in the failure box, as the file
// functions do, and raised again.
CryReading Inspect(const std::string& image, bool with_cry_table) {
  try {
    return ReadImageCry(PathFromUtf8(image), with_cry_table);
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    throw;
  }
}

std::string ByteText(std::uint8_t byte) {
  return "0x" + HexByteDigits(byte);
}

std::string OffsetText(std::int64_t offset) {
  return "0x" + HexDigits(static_cast<std::uint32_t>(offset));
}

// "FireRed 1.1 (BPRE, version 1): cry byte at 0x79202, stock cry 6 Charizard"
std::string CryByteText(const CryByteLocation& location) {
  const std::string release = ReleaseText(location) + ": ";
  if (!location.offset) return release + "no cry byte, " + FindingText(location);
  return release + "cry byte at " + OffsetText(*location.offset) +
         (location.at_release_offset ? "" : ", " + FindingText(location)) + ", stock cry " +
         DescribeCry(location.stock);
}

// "at 0x60000 and 0x60600 (words at 0x72114 and 0x72138), known release"
std::string CryTableText(const CryTableLocation& table) {
  if (!table.words) return "none, " + CryTableFindingText(table);
  return "at " + OffsetText(table.block0) + " and " + OffsetText(table.block1) + " (words at " +
         OffsetText(table.words->block0) + " and " + OffsetText(table.words->block1) + "), " +
         CryTableFindingText(table);
}

std::vector<std::string> InfoLines(const CryReading& reading) {
  const ImageHeader& header = reading.location.header;
  std::vector<std::string> lines{"size: " + std::to_string(header.file_size) + " bytes"};
  if (header.present) {
    lines.push_back("title: " + PrintableText(header.title));
    lines.push_back("game code: " + PrintableText(header.game_code));
    lines.push_back("maker code: " + PrintableText(header.maker_code));
    lines.push_back("software version: " + std::to_string(header.software_version));
    lines.push_back("fixed byte 0xB2: " + ByteText(header.fixed_byte) +
                    (header.FixedByteOk() ? " (as expected)" : " (expected 0x96)"));
    lines.push_back("header complement 0xBD: " + ByteText(header.complement) +
                    (header.ComplementMatches()
                         ? std::string(" (matches)")
                         : " (expected " + ByteText(header.expected_complement) + ")"));
  } else {
    lines.push_back("header: none (the file ends before 0xBE)");
  }
  lines.push_back("release: " + CryByteText(reading.location));
  lines.push_back(reading.value ? "cry: " + DescribeCry(*reading.value)
                                : std::string("cry: none (no cry byte)"));
  lines.push_back("cry table: " + CryTableText(reading.location.cry_table));
  return lines;
}

std::string NoCryByteLine(const std::string& image, const CryByteLocation& location) {
  return "vantrel-cli: " + PrintableName(image) + ": no cry byte (" + FindingText(location) + ")";
}

// Runs `lines_of` for each image and prints its lines, each led by the
// image's name when there are several. A failing image (its failure shown
// already) or one without a cry byte does not stop the rest.
int ForEachImage(const std::vector<std::string>& images, Output& out, Output& err,
                 ErrorLineBox& box,
                 const std::function<std::vector<std::string>(const std::string&)>& lines_of) {
  int status = kDone;
  for (const std::string& image : images) {
    const std::string lead = images.size() > 1 ? PrintableName(image) + ": " : "";
    box.SetSubject(images.size() > 1 ? image : "");
    try {
      for (const std::string& line : lines_of(image)) out << lead << line << '\n';
    } catch (const RuntimeError&) {
      status = kFileFailure;
    } catch (const NoCryByte& none) {
      err << NoCryByteLine(image, none.location) << '\n';
      status = kFileFailure;
    }
  }
  return status;
}

// Writes where the image's cry byte is found, through the open file that
// found it; refuses, unless forced, where none is.
int Write(const std::string& image, std::optional<std::uint8_t> value, std::string_view success,
          bool force, Output& out, Output& err) {
  try {
    const CryWriting writing = WriteImageCry(PathFromUtf8(image), value, force);
    const CryByteLocation& location = writing.location;
    if (!writing.written_at) {
      err << NoCryByteLine(image, location) << "; nothing written (--force writes at 0x791EE)\n";
      return kFileFailure;
    }
    if (location.offset && !location.at_release_offset) {
      err << "vantrel-cli: note: " << PrintableName(image) << ": cry byte at "
          << OffsetText(*location.offset) << ", " << FindingText(location) << '\n';
    }
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    return kFileFailure;
  }
  out << success << '\n';
  return kDone;
}

// Output that cannot be written (a full disk, a closed stream, a pipe whose
// reader has gone) is a failure, unless the image was written: then the exit
// status stays the write's and only the lost line is reported.
int Delivered(Output& out, Output& err, int status, bool image_written = false) {
  if (out.Flush()) return status;
  if (image_written) {
    err << "vantrel-cli: write error on standard output (the cry byte is written)\n";
    return status;
  }
  err << "vantrel-cli: write error on standard output\n";
  return status == kDone ? kFileFailure : status;
}

int ListSpecies(Output& out) {
  const auto& species = SpeciesList();
  for (std::size_t i = 0; i < species.size(); ++i) {
    out << std::to_string(ValueOfPosition(static_cast<std::int16_t>(i))) << '\t' << species[i]
        << '\n';
  }
  return kDone;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, Output& out, Output& err,
        const StandardOutput& standard_output) {
  std::vector<std::string> operands;
  bool options_ended = false;
  bool force = false;
  std::optional<std::string> output;
  for (auto next = arguments.begin(); next != arguments.end(); ++next) {
    const std::string& argument = *next;
    if (options_ended || argument.empty() || argument[0] != '-' || argument == "-") {
      operands.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return Delivered(out, err, kDone);
    } else if (argument == "--version") {
      out << "vantrel-cli " << AppVersion() << '\n';
      return Delivered(out, err, kDone);
    } else if (argument == "--force") {
      force = true;
    } else if (argument == "-o") {
      if (++next == arguments.end()) return UsageError(err, "-o needs a file");
      output = *next;
    } else {
      return UsageError(err, "unknown option " + argument);
    }
  }
  if (operands.empty()) return UsageError(err, "no command given");

  ErrorLineBox box(err);
  ScopedMessageBox installed(box);
  const std::string& command = operands[0];
  const std::vector<std::string> rest(operands.begin() + 1, operands.end());
  const bool writes = command == "set" || command == "remove" || command == "restore";
  if (force && !writes) return UsageError(err, "--force goes with set, remove and restore");
  if (output && command != "cry") return UsageError(err, "-o goes with cry");

  if (command == "show" || command == "info") {
    if (rest.empty()) return UsageError(err, command + " needs at least one image");
    if (command == "info") {
      return Delivered(out, err, ForEachImage(rest, out, err, box, [](const std::string& image) {
                         return InfoLines(Inspect(image, true));
                       }));
    }
    return Delivered(out, err, ForEachImage(rest, out, err, box, [](const std::string& image) {
                       const CryReading reading = Inspect(image, false);
                       if (!reading.value) throw NoCryByte{reading.location};
                       return std::vector{DescribeCry(*reading.value)};
                     }));
  }
  if (command == "set") {
    if (rest.size() != 2) return UsageError(err, "set needs an image and a species");
    const std::optional<std::uint8_t> value = ParseSpecies(rest[1]);
    if (!value) {
      const std::optional<std::string_view> near = ClosestSpecies(rest[1]);
      return UsageError(err, "unknown species " + rest[1] +
                                 (near ? "; did you mean " + std::string(*near) + "?" : ""));
    }
    return Delivered(out, err, Write(rest[0], *value, "ROM saved successfully!", force, out, err),
                     true);
  }
  if (command == "remove" || command == "restore") {
    if (rest.size() != 1) return UsageError(err, command + " needs one image");
    const int status =
        command == "remove"
            ? Write(rest[0], NoCry, "Cry removed successfully!", force, out, err)
            : Write(rest[0], std::nullopt, "Cry restored successfully!", force, out, err);
    return Delivered(out, err, status, true);
  }
  if (command == "cry") {
    if (rest.empty() || rest.size() > 2)
      return UsageError(err, "cry needs an image and at most one species");
    if (!output) return UsageError(err, "cry needs -o FILE, or -o - for the output");
    std::optional<std::uint8_t> species;
    if (rest.size() == 2) {
      species = ParseSpecies(rest[1]);
      if (!species || *species == NoCry) {
        return UsageError(err, "cry needs a species 1 to 251, not " + rest[1]);
      }
    }
    return Delivered(out, err, ExportCry(rest[0], species, *output, out, err, standard_output));
  }
  if (command == "species") {
    if (!rest.empty()) return UsageError(err, "species takes no arguments");
    return Delivered(out, err, ListSpecies(out));
  }
  return UsageError(err, "unknown command " + command);
}

}  // namespace vantrel::cli
