#include "api/vantrel.h"
#include "cli/cli.h"

int main(int argc, char** argv) {
  namespace descriptors = vantrel::descriptors;
  const descriptors::Utf8Console utf8;
  vantrel::cli::StandardOutput standard_output;
  standard_output.terminal = descriptors::IsTerminal(descriptors::kStandardOutput);
  standard_output.make_binary = [] { descriptors::MakeBinary(descriptors::kStandardOutput); };
  // Lines go out as they are made where someone watches; the errors always.
  vantrel::cli::DescriptorOutput out(descriptors::kStandardOutput, standard_output.terminal);
  vantrel::cli::DescriptorOutput err(descriptors::kStandardError, true);
  std::vector<std::string> arguments;
  try {
    arguments = vantrel::ProgramArguments(argc, argv);
  } catch (const vantrel::RuntimeError& error) {
    vantrel::cli::PrintFailure(err, "", error);
    return vantrel::cli::kFileFailure;
  }
  return vantrel::cli::Run(arguments, out, err, standard_output);
}
