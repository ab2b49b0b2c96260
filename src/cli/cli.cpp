#include "cli/cli.h"

#include <functional>
#include <optional>
#include <string_view>

#include "cli/printable_name.h"
#include "cli/species_names.h"
#include "cry/cry_slot.h"
#include "cry/image_header.h"
#include "cry/species_list.h"
#include "image_bytes/failure_box.h"
#include "runtime/app.h"
#include "runtime/binary_file.h"
#include "runtime/error.h"
#include "runtime/hex.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"

namespace vantrel::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: vantrel-cli COMMAND [ARGUMENTS]\n"
    "Shows or changes the cry a FireRed image plays on its title screen.\n"
    "\n"
    "  show IMAGE...          print the cry of each image: VALUE NAME\n"
    "  info IMAGE...          print the size, the header's fields and checks, and the cry\n"
    "  set IMAGE SPECIES      write a species, by name or by number 0 to 251\n"
    "  remove IMAGE           write 0: no cry\n"
    "  restore IMAGE          write 6: the stock cry\n"
    "  species                list the species: NUMBER<TAB>NAME\n"
    "  --help, --version\n"
    "\n"
    "set, remove and restore write only a FireRed English image (game code BPRE,\n"
    "0x96 at 0xB2, long enough for the cry byte); --force writes any file.\n"
    "Put -- before an image name that starts with a dash.\n"
    "Exit status: 0 done, 1 file failure, 2 usage error.\n";

// The failure box of a command-line run: one line on the error stream, led
// by the image's name when a command works on several.
class ErrorLineBox : public MessageBoxService {
 public:
  explicit ErrorLineBox(std::ostream& err) : err_(err) {}
  void SetSubject(std::string_view image) { subject_ = PrintableName(image); }
  void Show(std::string_view text, std::string_view title) override {
    if (!subject_.empty()) err_ << subject_ << ": ";
    err_ << title << ": " << text << '\n';
  }

 private:
  std::ostream& err_;
  std::string subject_;
};

// One line on what is wrong and where to read more, rather than the whole
// usage scrolling the mistake away.
int UsageError(std::ostream& err, std::string_view problem) {
  err << "vantrel-cli: " << problem << "\nTry 'vantrel-cli --help'.\n";
  return kUsageError;
}

// What `info` learns from one read-only open: the header and, when the file
// holds it, the cry byte.
struct Inspection {
  ImageHeader header;
  std::optional<std::uint8_t> cry;
};

// A failure is shown in the failure box, as the file functions do, and
// raised again.
Inspection Inspect(const std::string& image) {
  try {
    BinaryFile file = BinaryFile::Open(PathFromUtf8(image), BinaryFile::Access::kRead);
    Inspection inspection{ReadImageHeader(file), {}};
    if (inspection.header.file_size > CryOffset) inspection.cry = file.ReadByte(CryOffset);
    file.Close();
    return inspection;
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    throw;
  }
}

std::string ByteText(std::uint8_t byte) {
  return "0x" + HexByteDigits(byte);
}

std::vector<std::string> InfoLines(const Inspection& inspection) {
  const ImageHeader& header = inspection.header;
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
  lines.push_back(inspection.cry ? "cry: " + DescribeCry(*inspection.cry)
                                 : std::string("cry: none (the file ends before 0x791EE)"));
  const std::optional<std::string> problem = NotFireRedEnglish(header);
  lines.push_back(problem ? "FireRed English: no, " + *problem : "FireRed English: yes");
  return lines;
}

// Runs `lines_of` for each image and prints its lines, each led by the
// image's name when there are several. A failing image (its failure shown
// already) does not stop the rest.
int ForEachImage(const std::vector<std::string>& images, std::ostream& out, ErrorLineBox& box,
                 const std::function<std::vector<std::string>(const std::string&)>& lines_of) {
  int status = kDone;
  for (const std::string& image : images) {
    const std::string lead = images.size() > 1 ? PrintableName(image) + ": " : "";
    box.SetSubject(images.size() > 1 ? image : "");
    try {
      for (const std::string& line : lines_of(image)) out << lead << line << '\n';
    } catch (const RuntimeError&) {
      status = kFileFailure;
    }
  }
  return status;
}

// Refuses, unless forced, to write what is not a FireRed English image, and
// warns when a later release may keep the cry byte elsewhere. The check and
// the write go through one open file, so the byte lands in the file checked
// even when another is renamed into its place meanwhile.
int Write(const std::string& image, std::uint8_t value, std::string_view success, bool force,
          std::ostream& out, std::ostream& err) {
  try {
    BinaryFile file = BinaryFile::Open(PathFromUtf8(image), BinaryFile::Access::kReadWrite);
    if (!force) {
      const ImageHeader header = ReadImageHeader(file);
      if (const std::optional<std::string> problem = NotFireRedEnglish(header)) {
        err << "vantrel-cli: " << PrintableName(image)
            << " is not a FireRed English image: " << *problem
            << "; nothing written (--force writes anyway)\n";
        return kFileFailure;
      }
      if (const std::optional<std::string> warning = LaterRelease(header)) {
        err << "vantrel-cli: warning: " << PrintableName(image) << ' ' << *warning << '\n';
      }
    }
    file.WriteByte(CryOffset, value);
    file.Close();
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
int Delivered(std::ostream& out, std::ostream& err, int status, bool image_written = false) {
  if (out.flush()) return status;
  if (image_written) {
    err << "vantrel-cli: write error on standard output (the cry byte is written)\n";
    return status;
  }
  err << "vantrel-cli: write error on standard output\n";
  return status == kDone ? kFileFailure : status;
}

int ListSpecies(std::ostream& out) {
  const auto& species = SpeciesList();
  for (std::size_t i = 0; i < species.size(); ++i) {
    out << ValueOfPosition(static_cast<std::int16_t>(i)) << '\t' << species[i] << '\n';
  }
  return kDone;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::vector<std::string> operands;
  bool options_ended = false;
  bool force = false;
  for (const std::string& argument : arguments) {
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

  if (command == "show" || command == "info") {
    if (rest.empty()) return UsageError(err, command + " needs at least one image");
    if (command == "info") {
      return Delivered(out, err, ForEachImage(rest, out, box, [](const std::string& image) {
                         return InfoLines(Inspect(image));
                       }));
    }
    return Delivered(out, err, ForEachImage(rest, out, box, [](const std::string& image) {
                       return std::vector{DescribeCry(ReadCry(PathFromUtf8(image)))};
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
            : Write(rest[0], RestoreCry, "Cry restored successfully!", force, out, err);
    return Delivered(out, err, status, true);
  }
  if (command == "species") {
    if (!rest.empty()) return UsageError(err, "species takes no arguments");
    return Delivered(out, err, ListSpecies(out));
  }
  return UsageError(err, "unknown command " + command);
}

}  // namespace vantrel::cli
