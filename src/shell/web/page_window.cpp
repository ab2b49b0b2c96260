#include "shell/web/page_window.h"

#include <emscripten.h>

#include <vector>

// Each posts one message to the page (worker.js).
EM_JS(void, js_show_species, (const char* const* names, int count), {
  const list = [];
  for (let i = 0; i < count; ++i) list.push(UTF8ToString(HEAPU32[(names >> 2) + i]));
  showSpecies(list);
});
EM_JS(void, js_show_selection, (int position), { showSelection(position); });
EM_JS(void, js_show_editing, (int enabled), { showEditing(enabled != 0); });
EM_JS(void, js_show_play, (int enabled, const char* tooltip),
      { showPlay(enabled != 0, UTF8ToString(tooltip)); });
EM_JS(void, js_show_rom, (const char* name), { showRom(UTF8ToString(name)); });
EM_JS(void, js_show_box, (const char* text, int text_size, const char* title, int title_size),
      { showBox(UTF8ToString(text, text_size), UTF8ToString(title, title_size)); });
EM_JS(void, js_play, (int rate, const signed char* samples, int count),
      { play(rate, HEAP8.slice(samples, samples + count)); });

namespace vantrel::web {

void PageWindow::SetSpeciesList(const std::vector<std::string>& names) {
  std::vector<const char*> texts;
  for (const std::string& name : names) texts.push_back(name.c_str());
  js_show_species(texts.data(), static_cast<int>(texts.size()));
  selection_ = -1;
}

void PageWindow::SetSelection(std::int16_t position) {
  if (position < -1 || static_cast<std::size_t>(position + 1) > SpeciesList().size()) {
    throw RuntimeError(kInvalidProcedureCall);
  }
  selection_ = position;
  js_show_selection(position);
}

void PageWindow::SetSelectionShown(std::int16_t position) {
  selection_ = position;
}

void PageWindow::SetEditingEnabled(bool enabled) {
  js_show_editing(enabled);
}

void PageWindow::SetPlayState(bool enabled, const std::string& tooltip) {
  js_show_play(enabled, tooltip.c_str());
}

void PageWindow::SetRomPath(const std::string& path) {
  rom_path_ = path;
  js_show_rom(path.c_str());
}

void PageBox::Show(std::string_view text, std::string_view title) {
  js_show_box(text.data(), static_cast<int>(text.size()), title.data(),
              static_cast<int>(title.size()));
}

void PagePlayer::Play(const CrySound& sound) {
  js_play(static_cast<int>(sound.rate), sound.samples.data(),
          static_cast<int>(sound.samples.size()));
}

}  // namespace vantrel::web
