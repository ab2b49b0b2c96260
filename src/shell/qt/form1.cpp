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
#include <QSignalBlocker>
#include <optional>
#include <utility>

#include "api/vantrel.h"
#include "shell/layout/form_layout.h"
#include "shell/layout/form_rules.h"
#include "shell/qt/qt_text.h"

namespace vantrel::qt {
namespace {

using layout::ControlKind;
using layout::kControls;
using layout::TwipsToPixels;

// Character sets need no counterpart: Qt's text is Unicode throughout.
QFont FontOf(const layout::Font& described) {
  QFont font;
  font.setFamilies({QtText(described.family), QtText(layout::SubstituteFor(described.family))});
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

}  // namespace

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), picture_);
}

Form1::Form1(DialogFactory make_dialog, CryPlayer& player)
    : commands_(*this, std::move(make_dialog), player) {
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

  for (std::size_t next = 1; next < layout::kTabOrder.size(); ++next) {
    setTabOrder(Control(*layout::kTabOrder[next - 1]), Control(*layout::kTabOrder[next]));
  }
  // On Linux a combo box's accessible name is its current entry; a screen
  // reader finds what the list is for through its label, the buddy.
  static_cast<QLabel*>(Control(layout::kListLabel))->setBuddy(Control(layout::kNamedList));
  Control(layout::kPlayButton)->setAccessibleName(QtText(layout::kPlayButtonName));
  // Every change of the selection, the user's or the commands', reaches the
  // core, which decides what Play offers.
  connect(List(), &QComboBox::currentIndexChanged, this, [this] { commands_.SelectionChanged(); });

  for (const layout::Click& click : layout::kClicks) {
    connect(static_cast<QPushButton*>(Control(click.button)), &QPushButton::clicked, this,
            [this, command = click.command] { (commands_.*command)(); });
  }
}

QWidget* Form1::Control(layout::ControlName name) const {
  return findChild<QWidget*>(QtText(layout::ControlNamed(name).name), Qt::FindDirectChildrenOnly);
}

QComboBox* Form1::List() const {
  return static_cast<QComboBox*>(Control(layout::kNamedList));
}

// The list's own signal would tell the core of a choice nobody made.
void Form1::SetSpeciesList(const std::vector<std::string>& names) {
  QComboBox* list = List();
  const QSignalBlocker quiet(list);
  list->clear();
  for (const std::string& name : names) list->addItem(QtText(name));
  list->setCurrentIndex(-1);
}

std::int16_t Form1::Selection() const {
  return static_cast<std::int16_t>(List()->currentIndex());
}

void Form1::SetSelection(std::int16_t position) {
  if (position < -1 || position >= List()->count()) throw RuntimeError(kInvalidProcedureCall);
  List()->setCurrentIndex(position);
}

void Form1::SetEditingEnabled(bool enabled) {
  for (layout::ControlName name : layout::kImageControls) Control(name)->setEnabled(enabled);
}

void Form1::SetPlayState(bool enabled, const std::string& tooltip) {
  QWidget* play = Control(layout::kPlayButton);
  play->setEnabled(enabled);
  play->setToolTip(QtText(tooltip));
}

void Form1::SetRomPath(const std::string& path) {
  rom_path_ = path;
  for (layout::ControlName name : layout::kImageControls) Control(name)->setToolTip(QtText(path));
}

std::uintptr_t Form1::OwnerHandle() const {
  return static_cast<std::uintptr_t>(effectiveWinId());
}

namespace {

// The first file of a drag, when it is a file of this machine, as the bytes
// of its name: the URL's percent-encoding holds them exactly, where Qt's
// text would turn a name that is not UTF-8 into another name. A URL that
// names a host is another machine's file.
std::optional<std::string> DroppedFile(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return std::nullopt;
  const QUrl& url = urls.front();
  if (!url.host().isEmpty() && url.host() != QStringLiteral("localhost")) return std::nullopt;
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFile(*event->mimeData())) event->acceptProposedAction();
}

// The first file dropped opens as if chosen in the open dialog.
void Form1::dropEvent(QDropEvent* event) {
  const std::optional<std::string> file = DroppedFile(*event->mimeData());
  if (!file) return;
  event->acceptProposedAction();
  commands_.OpenPath(*file);
}

}  // namespace vantrel::qt
