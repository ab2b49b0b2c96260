#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli.h"

namespace vantrel::cli {

// `cry IMAGE [SPECIES] -o OUTPUT`: writes the cry of `species`, or of the
// species the title screen plays, from the image as a WAV file to `output`,
// or to standard output for "-". The image is only read.
int ExportCry(const std::string& image, std::optional<int> species, const std::string& output,
              Output& out, Output& err, const StandardOutput& standard_output);

}  // namespace vantrel::cli
