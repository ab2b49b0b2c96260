#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "api/vantrel.h"

namespace vantrel::web {

// The window as the core sees it, inside the page's worker: the values are
// kept here and each change is posted to the page, which shows it. The
// page reports the user's choice in the list with SetSelectionShown.
class PageWindow final : public WindowState {
 public:
  void SetSpeciesList(const std::vector<std::string>& names) override;
  std::int16_t Selection() const override { return selection_; }
  void SetSelection(std::int16_t position) override;
  void SetEditingEnabled(bool enabled) override;
  void SetPlayState(bool enabled, const std::string& tooltip) override;
  std::string RomPath() const override { return rom_path_; }
  void SetRomPath(const std::string& path) override;
  // A page has no window handle.
  std::uintptr_t OwnerHandle() const override { return 0; }

  // What the page's list shows after the user picked in it.
  void SetSelectionShown(std::int16_t position);

 private:
  std::int16_t selection_ = -1;
  std::string rom_path_;
};

// Boxes are posted to the page, which shows them modal, one at a time, in
// the order they came.
class PageBox final : public MessageBoxService {
 public:
  void Show(std::string_view text, std::string_view title) override;
};

// Hands the cry's samples to the page, which plays them through Web Audio.
// The page says where it cannot (EditingCommands::ShowNoSound).
class PagePlayer final : public CryPlayer {
 public:
  void Play(const CrySound& sound) override;
};

}  // namespace vantrel::web
