// The window's Save without the window: writes list position POSITION to
// IMAGE, as after a successful Open, and prints each box it shows as
// "TITLE|TEXT", so that a test can load the fault library into it.

#include <cstdlib>
#include <iostream>

#include "cry/commands.h"
#include "support/recording_box.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: save_probe IMAGE POSITION\n";
    return 2;
  }
  vantrel::test::RecordingMessageBox boxes;
  vantrel::PlainWindowState window;
  window.SetRomPath(argv[1]);
  window.SetSelection(static_cast<std::int16_t>(std::atoi(argv[2])));
  window.EnableEditing();
  // Save never asks for a file.
  vantrel::EditingCommands commands(window, [] { return nullptr; });
  commands.Save();
  for (const vantrel::test::ShownBox& box : boxes.shown) {
    std::cout << box.title << '|' << box.text << '\n';
  }
  return 0;
}
