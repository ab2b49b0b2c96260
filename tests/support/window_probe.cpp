// The window's Open and Save without the window: opens IMAGE as if chosen in
// the open dialog and, when that succeeds, selects list position POSITION
// and saves. Prints each box shown as "TITLE|TEXT", so that a test can run
// it under a fault library, as another user, or with a time limit.

#include <cstdlib>
#include <iostream>

#include "cry/commands.h"
#include "support/recording_box.h"
#include "support/recording_player.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: window_probe IMAGE POSITION\n";
    return 2;
  }
  vantrel::test::RecordingMessageBox boxes;
  vantrel::PlainWindowState window;
  vantrel::test::RecordingPlayer player;
  // OpenPath and Save never ask for a file.
  vantrel::EditingCommands commands(
      window, [] { return nullptr; }, player);
  commands.OpenPath(argv[1]);
  if (window.save_enabled) {
    window.SetSelection(static_cast<std::int16_t>(std::atoi(argv[2])));
    commands.Save();
  }
  for (const vantrel::test::ShownBox& box : boxes.shown) {
    std::cout << box.title << '|' << box.text << '\n';
  }
  return 0;
}
