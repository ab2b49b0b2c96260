// Run at build time: prints the window the page renders, as the line of
// JavaScript that starts the page's script, so that the page shows the
// window without waiting for the core's worker.
#include <cstdio>
#include <string>

#include "shell/web/layout_json.h"

int main() {
  const std::string line = "const layout = " + vantrel::web::LayoutJson() + ";\n";
  return std::fputs(line.c_str(), stdout) < 0 ? 1 : 0;
}
