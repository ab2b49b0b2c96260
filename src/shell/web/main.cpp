// The core in the page's worker: worker.js calls these when the page asks,
// one command at a time.
#include <emscripten.h>

#include <memory>

#include "api/vantrel.h"
#include "shell/layout/form_layout.h"
#include "shell/layout/form_rules.h"
#include "shell/web/page_image.h"
#include "shell/web/page_window.h"

namespace vantrel::web {
namespace {

struct Page {
  PageWindow window;
  PageBox box;
  PagePlayer player;
  PageImages images;
  // The page opens its own file picker: the core's open dialog is never
  // asked for.
  EditingCommands commands{window, [] { return std::unique_ptr<clsCommonDialog>(); }, player,
                           images};
  ScopedMessageBox installed{box};
};

Page& ThePage() {
  static Page page;
  return page;
}

}  // namespace
}  // namespace vantrel::web

using vantrel::web::ThePage;

extern "C" {

// Makes the page's core before the page's first command.
EMSCRIPTEN_KEEPALIVE void vantrel_start() {
  ThePage();
}

// The user chose the image `name`: the page hands its File with the command.
EMSCRIPTEN_KEEPALIVE void vantrel_open(const char* name) {
  ThePage().commands.OpenPath(name);
}

// The button at row `row` of the layout table was clicked (Open excepted).
EMSCRIPTEN_KEEPALIVE void vantrel_click(int row) {
  for (const vantrel::layout::Click& click : vantrel::layout::kClicks) {
    if (static_cast<int>(click.button.Row()) == row) (ThePage().commands.*click.command)();
  }
}

// The user picked position `position` in the list (-1: none).
EMSCRIPTEN_KEEPALIVE void vantrel_select(int position) {
  ThePage().window.SetSelectionShown(static_cast<std::int16_t>(position));
  ThePage().commands.SelectionChanged();
}

// Whether a write waits for the page: the command has not ended until it
// reports it.
EMSCRIPTEN_KEEPALIVE int vantrel_writing() {
  return ThePage().images.Writing() ? 1 : 0;
}

// The page wrote the byte (failed = 0) or could not.
EMSCRIPTEN_KEEPALIVE void vantrel_written(int failed) {
  ThePage().images.Written(failed != 0);
}

// The page could not play the cry handed to it.
EMSCRIPTEN_KEEPALIVE void vantrel_no_sound(const char* reason) {
  ThePage().commands.ShowNoSound(reason);
}
}
