#include "cli/cli.h"

#include <optional>
#include <string_view>

#include "cli/species_names.h"
#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "runtime/app.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"

namespace vantrel::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: vantrel-cli COMMAND [ARGUMENTS]\n"
    "Shows or changes the cry a FireRed image plays on its title screen.\n"
    "\n"
    "  show IMAGE...          print the cry of each image: VALUE NAME\n"
    "  set IMAGE SPECIES      write a species, by name or by number 0 to 251\n"
    "  remove IMAGE           write 0: no cry\n"
    "  restore IMAGE          write 6: the stock cry\n"
    "  species                list the species: NUMBER<TAB>NAME\n"
    "  --help, --version\n"
    "\n"
    "Put -- before an image name that starts with a dash.\n"
    "Exit status: 0 done, 1 file failure, 2 usage error.\n";

// The failure box of a command-line run: one line on the error stream, led
// by the image's name when a command works on several.
class ErrorLineBox : public MessageBoxService {
 public:
  explicit ErrorLineBox(std::ostream& err) : err_(err) {}
  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  void Show(std::string_view text, std::string_view title) override {
    if (!subject_.empty()) err_ << subject_ << ": ";
    err_ << title << ": " << text << '\n';
  }

 private:
  std::ostream& err_;
  std::string subject_;
};

int UsageError(std::ostream& err, std::string_view problem) {
  err << "vantrel-cli: " << problem << "\n\n" << kUsage;
  return kUsageError;
}

int Show(const std::vector<std::string>& images, std::ostream& out, ErrorLineBox& box) {
  int status = kDone;
  for (const std::string& image : images) {
    const std::string lead = images.size() > 1 ? image + ": " : "";
    box.SetSubject(images.size() > 1 ? image : "");
    try {
      const std::uint8_t value = ReadCry(PathFromUtf8(image));
      out << lead << DescribeCry(value) << '\n';
    } catch (const RuntimeError&) {
      status = kFileFailure;  // the read has reported the failure already
    }
  }
  return status;
}

int Write(const std::string& image, std::uint8_t value, std::string_view success,
          std::ostream& out) {
  if (!WriteCry(PathFromUtf8(image), value)) return kFileFailure;
  out << success << '\n';
  return kDone;
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
  for (const std::string& argument : arguments) {
    if (options_ended || argument.empty() || argument[0] != '-' || argument == "-") {
      operands.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return kDone;
    } else if (argument == "--version") {
      out << "vantrel-cli " << AppVersion() << '\n';
      return kDone;
    } else {
      return UsageError(err, "unknown option " + argument);
    }
  }
  if (operands.empty()) return UsageError(err, "no command given");

  ErrorLineBox box(err);
  ScopedMessageBox installed(box);
  const std::string& command = operands[0];
  const std::vector<std::string> rest(operands.begin() + 1, operands.end());

  if (command == "show") {
    if (rest.empty()) return UsageError(err, "show needs at least one image");
    return Show(rest, out, box);
  }
  if (command == "set") {
    if (rest.size() != 2) return UsageError(err, "set needs an image and a species");
    const std::optional<std::uint8_t> value = ParseSpecies(rest[1]);
    if (!value) return UsageError(err, "unknown species " + rest[1]);
    return Write(rest[0], *value, "ROM saved successfully!", out);
  }
  if (command == "remove" || command == "restore") {
    if (rest.size() != 1) return UsageError(err, command + " needs one image");
    return command == "remove" ? Write(rest[0], NoCry, "Cry removed successfully!", out)
                               : Write(rest[0], RestoreCry, "Cry restored successfully!", out);
  }
  if (command == "species") {
    if (!rest.empty()) return UsageError(err, "species takes no arguments");
    return ListSpecies(out);
  }
  return UsageError(err, "unknown command " + command);
}

}  // namespace vantrel::cli
