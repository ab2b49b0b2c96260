#pragma once

#include <QPixmap>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "api/vantrel.h"
#include "shell/layout/form_layout.h"

class QComboBox;

namespace vantrel::qt {

// The title picture's first frame, stretched to the widget's size without
// keeping the aspect ratio. Drawn the same whether enabled or not: the
// picture is disabled only so that it takes no mouse input.
class PictureBox : public QWidget {
 public:
  PictureBox(const QPixmap& picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

// The main window: the layout table's controls, the window state over them,
// and the buttons wired to the commands. Opens an image dropped on it.
class Form1 : public QWidget, public WindowState {
 public:
  // The Open command gets a fresh dialog object from `make_dialog` for
  // every click; Play plays through `player`, which outlives the window.
  Form1(DialogFactory make_dialog, CryPlayer& player);

  // The control of the layout table named `name`.
  QWidget* Control(layout::ControlName name) const;
  EditingCommands& Commands() { return commands_; }

  void SetSpeciesList(const std::vector<std::string>& names) override;
  std::int16_t Selection() const override;
  void SetSelection(std::int16_t position) override;
  void SetEditingEnabled(bool enabled) override;
  void SetPlayState(bool enabled, const std::string& tooltip) override;
  std::string RomPath() const override { return rom_path_; }
  // Also names the image in the tooltips of the controls that write to it.
  void SetRomPath(const std::string& path) override;
  // The native window's id; QWidget::find turns it back into this window.
  std::uintptr_t OwnerHandle() const override;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  QComboBox* List() const;

  std::string rom_path_;
  EditingCommands commands_;
};

}  // namespace vantrel::qt
