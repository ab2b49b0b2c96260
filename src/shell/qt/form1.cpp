#include "shell/qt/form1.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "cry/species_list.h"
#include "runtime/error.h"
#include "shell/layout/form_layout.h"
#include "shell/qt/qt_text.h"

namespace vantrel::qt {
namespace {

using layout::ControlKind;
using layout::kControls;
using layout::TwipsToPixels;

// The fonts the table names come with another system; where they are not
// installed, these stand in, at the same size and weight.
struct FontSubstitute {
  std::string_view family;
  std::string_view substitute;
};
constexpr FontSubstitute kFontSubstitutes[] = {{"Comic Sans MS", "Comic Neue"}};
constexpr std::string_view kPlainSans = "DejaVu Sans";

// Character sets need no counterpart: Qt's text is Unicode throughout.
QFont FontOf(const layout::Font& described) {
  std::string_view substitute = kPlainSans;
  for (const FontSubstitute& known : kFontSubstitutes) {
    if (known.family == described.family) substitute = known.substitute;
  }
  QFont font;
  font.setFamilies({QtText(described.family), QtText(substitute)});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(described.points);
  font.setBold(described.bold);
  return font;
}

// The system's window-frame colour, the only system colour the table names,
// is black in the standard colour schemes.
QColor ColorOf(const layout::Color& color) {
  if (color.kind == layout::Color::Kind::kRgb) return QColor(color.red, color.green, color.blue);
  return Qt::black;
}

// Qt multiplies these logical pixels by the screen's device-pixel ratio.
QRect GeometryOf(const layout::Control& control) {
  return QRect(TwipsToPixels(control.left), TwipsToPixels(control.top),
               TwipsToPixels(control.width), TwipsToPixels(control.height));
}

QPixmap TitlePicture() {
  QImageReader reader(QStringLiteral(":/title.gif"));
  return QPixmap::fromImage(reader.read());
}

QWidget* MakeControl(const layout::Control& control, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::kCommandButton:
      return new QPushButton(QtText(control.caption), parent);
    case ControlKind::kDropDownList: {
      auto* list = new QComboBox(parent);
      for (std::string_view species : SpeciesList()) list->addItem(QtText(species));
      list->setCurrentIndex(-1);
      return list;
    }
    case ControlKind::kLabel: {
      // Opaque, with the text at the top left, wrapped, and no access keys.
      auto* label = new QLabel(QtText(control.caption), parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(true);
      label->setAutoFillBackground(true);
      QPalette palette = label->palette();
      if (control.fore.kind != layout::Color::Kind::kDefault) {
        palette.setColor(QPalette::WindowText, ColorOf(control.fore));
      }
      if (control.back.kind != layout::Color::Kind::kDefault) {
        palette.setColor(QPalette::Window, ColorOf(control.back));
      }
      label->setPalette(palette);
      return label;
    }
    case ControlKind::kPicture:
      return new PictureBox(TitlePicture(), parent);
  }
  return nullptr;
}

bool TakesFocus(const layout::Control& control) {
  return control.kind == ControlKind::kCommandButton || control.kind == ControlKind::kDropDownList;
}

}  // namespace

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), picture_);
}

Form1::Form1(DialogFactory make_dialog) : commands_(*this, std::move(make_dialog)) {
  setWindowTitle(QtText(layout::kWindow.caption));
  setWindowIcon(QIcon(QStringLiteral(":/vantrel.png")));
  setFont(FontOf(layout::kWindow.font));
  resize(TwipsToPixels(layout::kWindow.client_width), TwipsToPixels(layout::kWindow.client_height));
  setAcceptDrops(true);
  CreateControls();
  // The owner handle must exist before the first dialog asks for it.
  winId();
}

void Form1::CreateControls() {
  // Later children lie above earlier ones: create from the bottom up.
  for (auto row = kControls.rbegin(); row != kControls.rend(); ++row) {
    QWidget* widget = MakeControl(*row, this);
    widget->setObjectName(QtText(row->name));
    widget->setGeometry(GeometryOf(*row));
    widget->setEnabled(row->enabled_at_start);
    if (row->font) widget->setFont(FontOf(*row->font));
  }

  std::vector<const layout::Control*> chain;
  for (const layout::Control& control : kControls) {
    if (TakesFocus(control)) chain.push_back(&control);
  }
  std::sort(chain.begin(), chain.end(), [](const layout::Control* a, const layout::Control* b) {
    return a->tab_index < b->tab_index;
  });
  for (std::size_t next = 1; next < chain.size(); ++next) {
    setTabOrder(Control(chain[next - 1]->name), Control(chain[next]->name));
  }

  constexpr std::pair<std::string_view, void (EditingCommands::*)()> kClicks[] = {
      {"cmdOpen", &EditingCommands::Open},
      {"cmdSave", &EditingCommands::Save},
      {"Command1", &EditingCommands::Remove},
      {"cryRestore", &EditingCommands::Restore}};
  for (const auto& [name, command] : kClicks) {
    connect(static_cast<QPushButton*>(Control(name)), &QPushButton::clicked, this,
            [this, command = command] { (commands_.*command)(); });
  }
}

QWidget* Form1::Control(std::string_view name) const {
  return findChild<QWidget*>(QtText(name), Qt::FindDirectChildrenOnly);
}

QComboBox* Form1::List() const {
  return static_cast<QComboBox*>(Control("cmbPoke"));
}

std::int16_t Form1::Selection() const {
  return static_cast<std::int16_t>(List()->currentIndex());
}

void Form1::SetSelection(std::int16_t position) {
  if (position < -1 || position >= List()->count()) throw RuntimeError(kInvalidProcedureCall);
  List()->setCurrentIndex(position);
}

void Form1::EnableEditing() {
  for (std::string_view name : {"cmbPoke", "cmdSave", "Command1", "cryRestore"}) {
    Control(name)->setEnabled(true);
  }
}

std::uintptr_t Form1::OwnerHandle() const {
  return static_cast<std::uintptr_t>(effectiveWinId());
}

namespace {

// The first file of a drag, when it is a local file.
std::optional<QString> DroppedFile(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return std::nullopt;
  return urls.front().toLocalFile();
}

}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFile(*event->mimeData())) event->acceptProposedAction();
}

// The first file dropped opens as if chosen in the open dialog.
void Form1::dropEvent(QDropEvent* event) {
  const std::optional<QString> file = DroppedFile(*event->mimeData());
  if (!file) return;
  event->acceptProposedAction();
  commands_.OpenPath(file->toStdString());
}

}  // namespace vantrel::qt
