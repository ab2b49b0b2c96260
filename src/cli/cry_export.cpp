#include "cli/cry_export.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "api/vantrel.h"
#include "cli/printable_name.h"

namespace vantrel::cli {
namespace {

std::string_view Bytes(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string Seconds(const CrySound& sound) {
  const auto hundredths = sound.samples.size() * 100 / sound.rate;
  return std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10) +
         std::to_string(hundredths % 10) + " s";
}

}  // namespace

int ExportCry(const std::string& image, std::optional<int> species, const std::string& output,
              Output& out, Output& err, const StandardOutput& standard_output) {
  const bool to_out = output == "-";
  if (to_out && standard_output.terminal) {
    err << "vantrel-cli: a WAV file is not written to a terminal: give -o FILE or redirect the "
           "output\nTry 'vantrel-cli --help'.\n";
    return kUsageError;
  }
  std::error_code unknown;
  if (!to_out && std::filesystem::equivalent(PathFromUtf8(image), PathFromUtf8(output), unknown)) {
    err << "vantrel-cli: -o names the image itself: nothing written\n";
    return kFileFailure;
  }
  ImageCrySound cry;
  try {
    cry = ReadImageCrySound(PathFromUtf8(image), species);
  } catch (const RuntimeError& error) {
    PrintFailure(err, "", error);
    return kFileFailure;
  } catch (const CryDataError& error) {
    err << "vantrel-cli: " << PrintableName(image) << ": " << error.what() << '\n';
    return kFileFailure;
  }
  const std::vector<std::uint8_t> wav = WavBytes(cry.sound);
  if (to_out) {
    standard_output.make_binary();
    out << Bytes(wav);
    return kDone;
  }
  errno = 0;
  std::ofstream file(PathFromUtf8(output), std::ios::binary | std::ios::trunc);
  if (file) {
    const std::string_view bytes = Bytes(wav);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
  }
  if (!file) {
    err << "vantrel-cli: cannot write " << PrintableName(output)
        << (errno != 0 ? ": " + std::generic_category().message(errno) : "") << '\n';
    return kFileFailure;
  }
  out << PrintableName(output) << ": " << cry.name << "'s cry, " << Seconds(cry.sound) << " at "
      << std::to_string(cry.sound.rate) << " Hz\n";
  return kDone;
}

}  // namespace vantrel::cli
