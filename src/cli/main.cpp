#include <iostream>

#include "cli/arguments.h"
#include "cli/cli.h"

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);
#endif
  return vantrel::cli::Run(vantrel::cli::ProgramArguments(argc, argv), std::cout, std::cerr);
}
