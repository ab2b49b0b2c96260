#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// What the editing commands see of the main window. The window serves it
// from its controls; PlainWindowState holds the same values without one.
class WindowState {
 public:
  virtual ~WindowState() = default;

  // Fills the species list with `names`, the species in national order,
  // nothing selected.
  virtual void SetSpeciesList(const std::vector<std::string>& names) = 0;
  // The list position selected, -1 for none.
  virtual std::int16_t Selection() const = 0;
  virtual void SetSelection(std::int16_t position) = 0;
  // Enables or disables the species list and the Save, Remove and Restore
  // buttons.
  virtual void SetEditingEnabled(bool enabled) = 0;
  // Enables or disables the Play button and sets its tooltip.
  virtual void SetPlayState(bool enabled, const std::string& tooltip) = 0;
  // The path (UTF-8) of the image the last successful Open read; empty when
  // none is open.
  virtual std::string RomPath() const = 0;
  virtual void SetRomPath(const std::string& path) = 0;
  // The window that owns the dialogs and boxes.
  virtual std::uintptr_t OwnerHandle() const = 0;
};

// The window state as plain values: for tests, and for front ends that keep
// their state apart from their controls.
class PlainWindowState : public WindowState {
 public:
  void SetSpeciesList(const std::vector<std::string>& names) override {
    species = names;
    selection = -1;
  }
  std::int16_t Selection() const override { return selection; }
  void SetSelection(std::int16_t position) override { selection = position; }
  void SetEditingEnabled(bool enabled) override {
    list_enabled = save_enabled = remove_enabled = restore_enabled = enabled;
  }
  void SetPlayState(bool enabled, const std::string& tooltip) override {
    play_enabled = enabled;
    play_tooltip = tooltip;
  }
  std::string RomPath() const override { return rom_path; }
  void SetRomPath(const std::string& path) override { rom_path = path; }
  std::uintptr_t OwnerHandle() const override { return owner; }

  std::vector<std::string> species;
  std::int16_t selection = -1;
  bool list_enabled = false;
  bool save_enabled = false;
  bool remove_enabled = false;
  bool restore_enabled = false;
  bool play_enabled = false;
  std::string play_tooltip;
  std::string rom_path;
  std::uintptr_t owner = 0;
};

}  // namespace vantrel
