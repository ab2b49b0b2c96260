#include "cli/cli.h"

#include <functional>
#include <optional>
#include <string_view>

#include "api/vantrel.h"
#include "cli/cry_export.h"
#include "cli/printable_name.h"
#include "cli/species_names.h"

namespace vantrel::cli {
namespace {

std::string Usage() {
  return "Usage: vantrel-cli COMMAND [ARGUMENTS]\n"
         "Shows or changes the cry a FireRed or LeafGreen image plays on its title screen.\n"
         "\n"
         "  show IMAGE...          print the cry of each image: NUMBER NAME\n"
         "  info IMAGE...          print the size, the header's fields, whose names the\n"
         "                         species carry, the release, where the cry byte is and\n"
         "                         how it was found, the form of the title screen's code,\n"
         "                         the cry, and where the cry table is and how it was found\n"
         "  set IMAGE SPECIES      write a species, by its name in the image or in English\n"
         "                         (capitals, blanks and accents aside) or by number 0 to " +
         std::to_string(kSpeciesCount) +
         "\n"
         "  remove IMAGE           write 0: no cry\n"
         "  restore IMAGE          write the image's stock cry (FireRed " +
         std::to_string(RestoreCry) + ", LeafGreen " + std::to_string(LeafGreenCry) +
         ")\n"
         "  cry IMAGE [SPECIES] -o FILE\n"
         "                         write the cry of SPECIES, or the title screen's, from the\n"
         "                         image as a WAV file; -o - writes it to the output\n"
         "  species [IMAGE]        list the species: NUMBER<TAB>NAME, named as IMAGE names\n"
         "                         them\n"
         "  --help, --version\n"
         "\n"
         "The cry byte is found by the title screen's own code, and the cry table by\n"
         "the cry call's: where each of the twelve releases keeps them, else by one\n"
         "search of the image, which must find each code once. Without the cry byte\n"
         "nothing is written; with --force, set, remove and restore then write at\n" +
         HexNumber(CryOffset) +
         ", where the first releases keep it.\n"
         "A species past " +
         std::to_string(kSameNumberSpecies) +
         " rewrites the 14 bytes of the title screen's code around the\n"
         "cry byte, which needs the code found: --force does not write it.\n"
         "Put -- before an image name that starts with a dash.\n"
         "Exit status: 0 done, 1 file failure or no cry byte, 2 usage error.\n";
}

// One line on what is wrong and where to read more, rather than the whole
// usage scrolling the mistake away.
int UsageError(Output& err, std::string_view problem) {
  err << "vantrel-cli: " << problem << "\nTry 'vantrel-cli --help'.\n";
  return kUsageError;
}

// What a command prints of an image: its lines, and, for an image whose
// cry byte cannot be found (or whose title screen's code is half written),
// that image's line on stderr.
struct ImageLines {
  std::vector<std::string> lines;
  std::optional<CryByteLocation> no_cry_byte;
};

std::string ByteText(std::uint8_t byte) {
  return "0x" + HexByteDigits(byte);
}

// The release, then where its cry byte is and how it was found, and its stock
// cry: "FireRed 1.1 (BPRE, version 1): cry byte at 0x..., stock cry 6 Charizard"
std::string CryByteText(const CryByteLocation& location, const std::vector<std::string>& names) {
  const std::string release = ReleaseText(location) + ": ";
  if (!location.offset) return release + "no cry byte, " + FindingText(location);
  return release + "cry byte at " + HexNumber(*location.offset) +
         (location.at_release_offset ? "" : ", " + FindingText(location)) + ", stock cry " +
         DescribeCry(location.stock, names);
}

// Where the cry table's two blocks are, the words that hold their address,
// and how they were found: "at 0x... and 0x... (words at 0x... and 0x...),
// known release"
std::string CryTableText(const CryTableLocation& table) {
  if (!table.words) return "none, " + CryTableFindingText(table);
  return "at " + HexNumber(table.block0) + " and " + HexNumber(table.block1) + " (words at " +
         HexNumber(table.words->block0) + " and " + HexNumber(table.words->block1) + "), " +
         CryTableFindingText(table);
}

// "names: the image's own, French (language 3), from 0x2402EC", or why not.
std::string NamesText(const NameTable& table) {
  if (table.names.empty()) return "built in (" + table.unusable + ")";
  return "the image's own, " + LanguageText(table.language) + ", from " + HexNumber(*table.at);
}

// The form of the title screen's code: "stock (one byte)", "wide (species
// 406)".
std::string TitleScreenCodeText(const CryReading& reading) {
  const CryByteLocation& location = reading.location;
  if (location.half_written) return "half written (a write was cut short)";
  if (!reading.value) return "none";
  if (location.form == TitleScreenForm::kStock) return "stock (one byte)";
  return "wide (species " + std::to_string(*reading.value) + ")";
}

ImageLines InfoLines(const CryReading& reading) {
  const ImageHeader& header = reading.location.header;
  std::vector<std::string> lines{"size: " + std::to_string(header.file_size) + " bytes"};
  if (header.present) {
    lines.push_back("title: " + PrintableText(header.title));
    lines.push_back("game code: " + PrintableText(header.game_code));
    lines.push_back("maker code: " + PrintableText(header.maker_code));
    lines.push_back("software version: " + std::to_string(header.software_version));
    lines.push_back(
        "fixed byte " + HexNumber(kFixedByteAt) + ": " + ByteText(header.fixed_byte) +
        (header.FixedByteOk() ? " (as expected)" : " (expected " + ByteText(kFixedByte) + ")"));
    lines.push_back(
        "header complement " + HexNumber(kComplementAt) + ": " + ByteText(header.complement) +
        (header.ComplementMatches() ? std::string(" (matches)")
                                    : " (expected " + ByteText(header.expected_complement) + ")"));
  } else {
    lines.push_back("header: none (the file ends before " + HexNumber(kHeaderEnd) + ")");
  }
  lines.push_back("names: " + NamesText(reading.names.table));
  lines.push_back("release: " + CryByteText(reading.location, reading.names.shown));
  lines.push_back("title screen's code: " + TitleScreenCodeText(reading));
  lines.push_back(reading.value ? "cry: " + DescribeCry(*reading.value, reading.names.shown)
                                : std::string("cry: none (no cry byte)"));
  lines.push_back("cry table: " + CryTableText(reading.location.cry_table));
  if (reading.location.half_written) return {lines, reading.location};
  return {lines, std::nullopt};
}

std::string NoCryByteLine(const std::string& image, const CryByteLocation& location) {
  if (location.half_written) {
    return "vantrel-cli: " + PrintableName(image) + ": " + FindingText(location) +
           "; set, remove or restore writes it whole";
  }
  return "vantrel-cli: " + PrintableName(image) + ": no cry byte (" + FindingText(location) + ")";
}

// Runs `lines_of` for each image and prints its lines, each led by the
// image's name when there are several. A failing image or one without a cry
// byte does not stop the rest.
int ForEachImage(const std::vector<std::string>& images, Output& out, Output& err,
                 const std::function<ImageLines(const std::string&)>& lines_of) {
  int status = kDone;
  for (const std::string& image : images) {
    const std::string lead = images.size() > 1 ? PrintableName(image) + ": " : "";
    try {
      const ImageLines printed = lines_of(image);
      for (const std::string& line : printed.lines) out << lead << line << '\n';
      if (printed.no_cry_byte) {
        err << NoCryByteLine(image, *printed.no_cry_byte) << '\n';
        status = kFileFailure;
      }
    } catch (const RuntimeError& error) {
      PrintFailure(err, lead, error);
      status = kFileFailure;
    }
  }
  return status;
}

// What a write did beyond the cry byte, said on stderr: the title screen's
// code rewritten in place, from `at` through the window's last byte.
std::string RewrittenText(const CryWriting& writing) {
  const std::int64_t at = *writing.at;
  const std::string window = "the title screen's code at " + HexNumber(at) + "-" +
                             HexNumber(at + static_cast<std::int64_t>(writing.bytes.size()) - 1);
  if (writing.location.half_written) return window + " is written whole again";
  if (writing.rewritten == TitleScreenForm::kWide) {
    return window + " now loads the species (a species above " +
           std::to_string(kSameNumberSpecies) + " needs it)";
  }
  return window + " is back as the game has it, the species in the cry byte";
}

// Writes as `write` does, through the open file that found the cry byte,
// and says what it did; refuses, unless forced, where no cry byte is found.
// `write` gives nothing for a typed name it refused, having said why.
int Write(const std::string& image, const std::function<std::optional<CryWriting>()>& write,
          std::string_view success, Output& out, Output& err) {
  try {
    const std::optional<CryWriting> written = write();
    if (!written) return kUsageError;
    const CryWriting& writing = *written;
    const CryByteLocation& location = writing.location;
    if (writing.needs_code) {
      err << NoCryByteLine(image, location) << "; nothing written (a species above "
          << std::to_string(kSameNumberSpecies)
          << " needs the title screen's code rewritten, and --force writes only the cry byte)\n";
      return kFileFailure;
    }
    if (!writing.at) {
      err << NoCryByteLine(image, location) << "; nothing written (--force writes at "
          << HexNumber(CryOffset) << ")\n";
      return kFileFailure;
    }
    const std::string note = "vantrel-cli: note: " + PrintableName(image) + ": ";
    if (location.offset && !location.at_release_offset) {
      err << note << "cry byte at " << HexNumber(*location.offset) << ", " << FindingText(location)
          << '\n';
    }
    if (writing.rewritten) err << note << RewrittenText(writing) << '\n';
  } catch (const RuntimeError& error) {
    PrintFailure(err, "", error);
    return kFileFailure;
  }
  out << success << '\n';
  return kDone;
}

// Output that cannot be written (a full disk, a closed stream, a pipe whose
// reader has gone) is a failure, unless the command wrote the image: then
// the exit status stays the write's and only the lost line is reported.
int Delivered(Output& out, Output& err, int status, bool writes = false) {
  if (out.Flush()) return status;
  if (writes && status == kDone) {
    err << "vantrel-cli: write error on standard output (the cry byte is written)\n";
    return status;
  }
  err << "vantrel-cli: write error on standard output\n";
  return status == kDone ? kFileFailure : status;
}

int ListSpecies(const std::vector<std::string>& names, Output& out) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    out << std::to_string(ValueOfPosition(static_cast<std::int16_t>(i))) << '\t' << names[i]
        << '\n';
  }
  return kDone;
}

// The species a name typed for an image whose list shows `names` names; a
// usage error said when it names none, or several.
std::optional<int> NamedSpecies(const std::string& typed, const std::vector<std::string>& names,
                                Output& err) {
  const std::vector<int> named = SpeciesNamed(typed, names);
  if (named.size() == 1) return named.front();
  if (named.empty()) {
    const std::optional<std::string> near = ClosestSpecies(typed, names);
    UsageError(err, "unknown species " + typed + (near ? "; did you mean " + *near + "?" : ""));
    return std::nullopt;
  }
  std::string each;
  for (const int species : named) {
    each += (each.empty()              ? ""
             : species == named.back() ? " and "
                                       : ", ") +
            DescribeCry(InternalNumberOf(species), names);
  }
  UsageError(err, typed + " names more than one species: " + each + "; give its number");
  return std::nullopt;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, Output& out, Output& err,
        const StandardOutput& standard_output) {
  const Arguments<char> split = SplitArguments(arguments, {"-o"});
  bool force = false;
  std::optional<std::string> output;
  for (const Arguments<char>::Option& option : split.options) {
    if (option.name == "--help" || option.name == "-h") {
      out << Usage();
      return Delivered(out, err, kDone);
    } else if (option.name == "--version") {
      out << "vantrel-cli " << AppVersion() << '\n';
      return Delivered(out, err, kDone);
    } else if (option.name == "--force") {
      force = true;
    } else if (option.name == "-o") {
      if (!option.value) return UsageError(err, "-o needs a file");
      output = option.value;
    } else {
      return UsageError(err, "unknown option " + option.name);
    }
  }
  const std::vector<std::string>& operands = split.operands;
  if (operands.empty()) return UsageError(err, "no command given");

  const std::string& command = operands[0];
  const std::vector<std::string> rest(operands.begin() + 1, operands.end());
  const bool writes = command == "set" || command == "remove" || command == "restore";
  if (force && !writes) return UsageError(err, "--force goes with set, remove and restore");
  if (output && command != "cry") return UsageError(err, "-o goes with cry");

  if (command == "show" || command == "info") {
    if (rest.empty()) return UsageError(err, command + " needs at least one image");
    if (command == "info") {
      return Delivered(out, err, ForEachImage(rest, out, err, [](const std::string& image) {
                         return InfoLines(ReadImageCry(PathFromUtf8(image), true));
                       }));
    }
    return Delivered(
        out, err, ForEachImage(rest, out, err, [](const std::string& image) {
          const CryReading reading = ReadImageCry(PathFromUtf8(image), false);
          if (!reading.value) return ImageLines{{}, reading.location};
          return ImageLines{{DescribeCry(*reading.value, reading.names.shown)}, std::nullopt};
        }));
  }
  if (command == "set" || command == "remove" || command == "restore") {
    const bool set = command == "set";
    if (rest.size() != (set ? 2u : 1u)) {
      return UsageError(err,
                        set ? "set needs an image and a species" : command + " needs one image");
    }
    const std::filesystem::path path = PathFromUtf8(rest[0]);
    std::function<std::optional<CryWriting>()> write;
    if (!set || IsNumber(rest[1])) {
      const std::optional<int> species = set                   ? SpeciesNumbered(rest[1])
                                         : command == "remove" ? std::optional<int>(NoCry)
                                                               : std::nullopt;
      if (set && !species) return UsageError(err, "unknown species " + rest[1]);
      write = [&, species] { return WriteImageCry(path, species, force); };
    } else {
      // A name is the image's: it is read through the file written.
      write = [&] {
        return WriteImageCry(
            path, [&](const ImageNames& names) { return NamedSpecies(rest[1], names.shown, err); },
            force);
      };
    }
    const std::string_view success = set                   ? "ROM saved successfully!"
                                     : command == "remove" ? "Cry removed successfully!"
                                                           : "Cry restored successfully!";
    return Delivered(out, err, Write(rest[0], write, success, out, err), true);
  }
  if (command == "cry") {
    if (rest.empty() || rest.size() > 2)
      return UsageError(err, "cry needs an image and at most one species");
    if (!output) return UsageError(err, "cry needs -o FILE, or -o - for the output");
    std::optional<int> species;
    if (rest.size() == 2) {
      if (SpeciesNumbered(rest[1]) == NoCry || (IsNumber(rest[1]) && !SpeciesNumbered(rest[1]))) {
        return UsageError(
            err, "cry needs a species 1 to " + std::to_string(kSpeciesCount) + ", not " + rest[1]);
      }
      species = SpeciesNumbered(rest[1]);
      if (!species) {
        try {
          species = NamedSpecies(rest[1], ReadImageNames(PathFromUtf8(rest[0])).shown, err);
        } catch (const RuntimeError& error) {
          PrintFailure(err, "", error);
          return Delivered(out, err, kFileFailure);
        }
        if (!species) return kUsageError;
      }
    }
    return Delivered(out, err, ExportCry(rest[0], species, *output, out, err, standard_output));
  }
  if (command == "species") {
    if (rest.size() > 1) return UsageError(err, "species takes at most one image");
    if (rest.empty()) return Delivered(out, err, ListSpecies(ShownNames({}), out));
    try {
      return Delivered(out, err, ListSpecies(ReadImageNames(PathFromUtf8(rest[0])).shown, out));
    } catch (const RuntimeError& error) {
      PrintFailure(err, "", error);
      return kFileFailure;
    }
  }
  return UsageError(err, "unknown command " + command);
}

}  // namespace vantrel::cli
