#include "shell/qt/form1.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QImageReader>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cry/species_list.h"
#include "qt_support.h"
#include "runtime/error.h"
#include "runtime/path_text.h"
#include "shell/layout/form_layout.h"
#include "shell/qt/start.h"
#include "support/process.h"
#include "support/recording_box.h"
#include "support/recording_player.h"
#include "support/scripted_dialog.h"
#include "support/temp_files.h"

namespace vantrel::qt {
namespace {

namespace fs = std::filesystem;
using layout::kControls;
using layout::TwipsToPixels;
using vantrel::kReleases;
using vantrel::test::ShownBox;

constexpr std::size_t kCryOffset = 0x791EE;
const ShownBox kOpened{"ROM opened successfully!", "Vantrel"};

std::string Name(const QObject* object) {
  return object == nullptr ? "(none)" : object->objectName().toStdString();
}

QRect TableRect(const layout::Control& control) {
  return QRect(TwipsToPixels(control.left), TwipsToPixels(control.top),
               TwipsToPixels(control.width), TwipsToPixels(control.height));
}

QImage Frame(int number) {
  QImageReader reader(QStringLiteral(VANTREL_TITLE_GIF_PATH));
  QImage frame;
  for (int read = 0; read <= number; ++read) frame = reader.read();  // GIFs read in order only
  return frame.convertToFormat(QImage::Format_RGB32);
}

class Form1Test : public ::testing::Test {
 protected:
  // By the name Qt knows it by: what the table's names became.
  QWidget* Get(std::string_view name) const {
    auto* control = form.findChild<QWidget*>(QString::fromUtf8(name.data(), name.size()),
                                             Qt::FindDirectChildrenOnly);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QPushButton* Button(std::string_view name) const { return qobject_cast<QPushButton*>(Get(name)); }
  QComboBox* List() const { return qobject_cast<QComboBox*>(Get("cmbPoke")); }
  void Click(std::string_view name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }

  fs::path Image(std::string_view name, std::uint8_t cry) {
    return vantrel::test::MakeImage(dir / name, vantrel::test::kImageSize, cry);
  }
  static std::uint8_t CryOf(const fs::path& image) {
    return vantrel::test::ReadBytes(image).at(kCryOffset);
  }
  // Shows the window and gives it the focus, for the keyboard.
  void Activate() {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  vantrel::test::TempDir dir;
  vantrel::test::RecordingMessageBox boxes;
  vantrel::test::ScriptedDialogBackend dialogs;
  vantrel::test::RecordingPlayer player;
  Form1 form{[this] { return std::make_unique<clsCommonDialog>(dialogs); }, player};
};

TEST_F(Form1Test, WindowHasItsCaptionIconAndClientArea) {
  EXPECT_EQ(form.windowTitle(), "Vantrel");
  EXPECT_EQ(form.size(), QSize(383, 275));
  EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
  const QFont font = form.font();
  EXPECT_EQ(font.families().front(), "Verdana");
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
  EXPECT_FALSE(font.bold());
  EXPECT_EQ(QWidget::find(static_cast<WId>(form.OwnerHandle())), &form);
}

TEST_F(Form1Test, ControlsStandWhereTheTablePutsThemInItsStackingOrder) {
  // Qt lists children bottom first; the table lists them topmost first.
  std::vector<std::string> bottom_up;
  for (const QObject* child : form.children()) {
    if (child->isWidgetType()) bottom_up.push_back(Name(child));
  }
  std::vector<std::string> expected;
  for (auto row = kControls.rbegin(); row != kControls.rend(); ++row) {
    expected.emplace_back(row->name);
  }
  EXPECT_EQ(bottom_up, expected);

  for (const layout::Control& control : kControls) {
    EXPECT_EQ(Get(control.name)->geometry(), TableRect(control)) << control.name;
  }
  EXPECT_EQ(Get("Image1")->geometry(), QRect(0, 0, 408, 296));
  EXPECT_EQ(Get("cmbPoke")->geometry(), QRect(56, 136, 129, 24));
  EXPECT_EQ(Get("cmdOpen")->geometry(), QRect(0, 216, 73, 33));
  EXPECT_EQ(Get("cryRestore")->geometry(), QRect(248, 216, 121, 33));
  EXPECT_EQ(Get("Label2")->geometry(), QRect(0, 248, 225, 25));
}

TEST_F(Form1Test, WhatLiesOnTopIsWhatTheUserReaches) {
  for (std::string_view name :
       {"cmdOpen", "cmdSave", "Command1", "cryRestore", "cmbPoke", "cmdPlay", "Label2"}) {
    EXPECT_EQ(Name(form.childAt(Get(name)->geometry().center())), name);
  }
  // Label1 lies beneath the picture and the list everywhere.
  const QRect hidden = Get("Label1")->geometry();
  for (int y = hidden.top(); y <= hidden.bottom(); ++y) {
    for (int x = hidden.left(); x <= hidden.right(); ++x) {
      ASSERT_NE(Name(form.childAt(x, y)), "Label1") << x << "," << y;
    }
  }
}

TEST_F(Form1Test, StartsWithOnlyOpenEnabledAndNothingSelected) {
  for (const layout::Control& control : kControls) {
    EXPECT_EQ(Get(control.name)->isEnabled(), control.enabled_at_start) << control.name;
    EXPECT_EQ(Get(control.name)->toolTip(), "") << control.name;
  }
  EXPECT_TRUE(Button("cmdOpen")->isEnabled());
  EXPECT_FALSE(List()->isEnabled());
  EXPECT_FALSE(List()->isEditable());
  EXPECT_EQ(List()->currentIndex(), -1);
  EXPECT_EQ(form.Selection(), -1);
  EXPECT_EQ(form.RomPath(), "");

  EXPECT_EQ(Button("cmdOpen")->text(), "Open ROM");
  EXPECT_EQ(Button("cmdSave")->text(), "Save ROM");
  EXPECT_EQ(Button("Command1")->text(), "Remove Cry");
  EXPECT_EQ(Button("cryRestore")->text(), "Restore Removed Cry");
  EXPECT_EQ(Button("cmdPlay")->text(), "Play");
  EXPECT_EQ(qobject_cast<QLabel*>(Get("Label1"))->text(),
            QString::fromUtf8("Select Pok\u00e9mon:"));
  EXPECT_EQ(qobject_cast<QLabel*>(Get("Label2"))->text(), "Made By: Dorvik");

  // The disabled buttons run nothing.
  for (std::string_view name : {"cmdSave", "Command1", "cryRestore", "cmdPlay"}) Click(name);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_TRUE(player.played.empty());
}

TEST_F(Form1Test, ListHoldsTheSpeciesInOrder) {
  ASSERT_EQ(List()->count(), static_cast<int>(kSpeciesCount));
  for (std::size_t position = 0; position < kSpeciesCount; ++position) {
    EXPECT_EQ(List()->itemText(static_cast<int>(position)).toStdString(), SpeciesList()[position]);
  }
  EXPECT_EQ(List()->itemText(5), "Charizard");
}

TEST_F(Form1Test, SelectionOutsideTheListIsAnError) {
  form.SetSelection(385);
  EXPECT_EQ(List()->currentIndex(), 385);
  form.SetSelection(-1);
  EXPECT_EQ(List()->currentIndex(), -1);
  for (std::int16_t position : {386, -2}) {
    try {
      form.SetSelection(position);
      ADD_FAILURE() << position << " was accepted";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), kInvalidProcedureCall);
    }
  }
}

TEST_F(Form1Test, FontsAreTheTablesOrTheirSubstitutes) {
  for (const layout::Control& control : kControls) {
    if (!control.font) continue;
    const QFont font = Get(control.name)->font();
    EXPECT_EQ(font.families().front().toStdString(), control.font->family) << control.name;
    EXPECT_DOUBLE_EQ(font.pointSizeF(), control.font->points) << control.name;
    EXPECT_EQ(font.bold(), control.font->bold) << control.name;
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut()) << control.name;
  }
  // What the machine draws with: Debian has none of the named fonts.
  const QFontInfo signature(Get("Label2")->font());
  EXPECT_EQ(signature.family(), "Comic Neue");
  EXPECT_TRUE(signature.bold());
  for (std::string_view name : {"cmdOpen", "cmbPoke", "Label1"}) {
    EXPECT_EQ(QFontInfo(Get(name)->font()).family(), "DejaVu Sans") << name;
  }
}

TEST_F(Form1Test, LabelsAreOpaqueAndLabel2PaleCyanOnBlack) {
  const QWidget* signature = Get("Label2");
  EXPECT_TRUE(signature->autoFillBackground());
  EXPECT_EQ(signature->palette().color(QPalette::WindowText), QColor(192, 255, 255));
  EXPECT_EQ(signature->palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_TRUE(Get("Label1")->autoFillBackground());
  EXPECT_EQ(Get("Label1")->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(signature->focusPolicy(), Qt::NoFocus);

  const QImage drawn = Get("Label2")->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(drawn.width() - 2, drawn.height() - 2), QColor(Qt::black));
}

// Where the first frame has a block of one colour, the stretched picture
// shows that colour exactly, disabled as it is.
TEST_F(Form1Test, PictureIsTheFirstFrameStretchedAndNotGreyed) {
  QWidget* picture = Get("Image1");
  EXPECT_FALSE(picture->isEnabled());
  const QImage drawn = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(drawn.size(), QSize(408, 296));
  const QImage first = Frame(0);
  const QImage second = Frame(1);
  ASSERT_EQ(first.size(), QSize(240, 160));

  int checked = 0;
  int unlike_second = 0;
  for (int y = 1; y + 1 < first.height(); ++y) {
    for (int x = 1; x + 1 < first.width(); ++x) {
      const QRgb colour = first.pixel(x, y);
      bool uniform = true;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) uniform &= first.pixel(x + dx, y + dy) == colour;
      }
      if (!uniform) continue;
      const QRgb shown = drawn.pixel((2 * x + 1) * 408 / 480, (2 * y + 1) * 296 / 320);
      ASSERT_LE(std::abs(qRed(shown) - qRed(colour)) + std::abs(qGreen(shown) - qGreen(colour)) +
                    std::abs(qBlue(shown) - qBlue(colour)),
                6)
          << "at " << x << "," << y;
      ++checked;
      unlike_second += second.pixel(x, y) != colour;
    }
  }
  EXPECT_GT(checked, 10000);
  EXPECT_GT(unlike_second, 1000);
}

TEST_F(Form1Test, ResizingMovesNothing) {
  form.show();
  form.resize(700, 500);
  for (const layout::Control& control : kControls) {
    EXPECT_EQ(Get(control.name)->geometry(), TableRect(control)) << control.name;
  }
  EXPECT_EQ(form.minimumSize(), QSize(0, 0));
}

TEST_F(Form1Test, TabVisitsOpenSaveListPlayRestoreRemove) {
  Activate();
  EXPECT_EQ(Name(QApplication::focusWidget()), "cmdOpen");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(Name(QApplication::focusWidget()), "cmdOpen");

  form.SetEditingEnabled(true);
  form.SetPlayState(true, "");
  std::vector<std::string> visited;
  for (int step = 0; step < 6; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(Name(QApplication::focusWidget()));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"cmdSave", "cmbPoke", "cmdPlay", "cryRestore",
                                               "Command1", "cmdOpen"}));
}

// The buttons reach the commands, and the commands reach the controls.
TEST_F(Form1Test, TheFourButtonsRunTheirCommandsOnTheImage) {
  const fs::path image = Image("fire red.gba", 6);
  dialogs.Accept(Utf8FromPath(image));
  Click("cmdOpen");
  ASSERT_EQ(dialogs.received.size(), 1u);
  EXPECT_EQ(dialogs.received[0].lpstrTitle, "Open Pokemon GBA ROM...");
  EXPECT_EQ(dialogs.received[0].hwndOwner, form.OwnerHandle());
  EXPECT_EQ(boxes.shown, std::vector<ShownBox>{kOpened});
  EXPECT_EQ(form.RomPath(), Utf8FromPath(image));
  EXPECT_EQ(List()->currentText(), "Charizard");
  // Each control that writes names the image it writes to.
  for (std::string_view name : {"cmbPoke", "cmdSave", "Command1", "cryRestore"}) {
    EXPECT_TRUE(Get(name)->isEnabled()) << name;
    EXPECT_EQ(Get(name)->toolTip().toStdString(), Utf8FromPath(image)) << name;
  }
  EXPECT_EQ(Button("cmdOpen")->toolTip(), "");
  EXPECT_EQ(form.windowTitle(), "Vantrel");

  // Picking a species runs nothing; Save writes it.
  List()->setCurrentIndex(24);
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(CryOf(image), 6);
  Click("cmdSave");
  EXPECT_EQ(CryOf(image), 25);
  Click("Command1");
  EXPECT_EQ(CryOf(image), 0);
  Click("cryRestore");
  EXPECT_EQ(CryOf(image), 6);
  EXPECT_EQ(List()->currentText(), "Pikachu");
  // A species past 251 is saved too, and selected when the image is opened
  // again.
  List()->setCurrentIndex(383);
  Click("cmdSave");
  dialogs.Accept(Utf8FromPath(image));
  Click("cmdOpen");
  EXPECT_EQ(List()->currentText(), "Rayquaza");
  Click("cryRestore");

  const ShownBox saved{"ROM saved successfully!", "Vantrel"};
  const ShownBox restored{"Cry restored successfully!", "Vantrel"};
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened,
                                                saved,
                                                {"Cry removed successfully!", "Vantrel"},
                                                restored,
                                                saved,
                                                kOpened,
                                                restored}));
  EXPECT_EQ(vantrel::test::ReadBytes(image), vantrel::test::ImageBytes());
}

// The list shows the names the image gives, and the built-in ones again for
// an image that gives none.
TEST_F(Form1Test, TheListShowsTheOpenImagesNames) {
  std::vector<std::uint8_t> french = vantrel::test::ImageBytes();
  std::vector<std::string> names = vantrel::test::EnglishNames();
  names[6] = "DRACAUFEU";
  names[406] = "RAYQUAGON";
  vantrel::test::PutNames(french, 0x70000, 3, names);
  const fs::path image = dir / "french.gba";
  vantrel::test::WriteBytes(image, french);
  dialogs.Accept(Utf8FromPath(image));
  Click("cmdOpen");
  ASSERT_EQ(List()->count(), 386);
  EXPECT_EQ(List()->currentText(), "Dracaufeu");
  EXPECT_EQ(List()->itemText(383), "Rayquagon");
  dialogs.Accept(Utf8FromPath(Image("english.gba", 6)));
  Click("cmdOpen");
  EXPECT_EQ(List()->currentText(), "Charizard");
  EXPECT_EQ(List()->itemText(383), "Rayquaza");
}

// On Linux a combo box's accessible name is its current entry: a screen
// reader announces the list by the label that names it.
TEST_F(Form1Test, ScreenReadersHearTheListByItsLabelAndTheButtonsByTheirCaptions) {
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(List());
  ASSERT_NE(list, nullptr);
  const auto labels = list->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels.front().first->text(QAccessible::Name),
            QString::fromUtf8("Select Pok\u00e9mon:"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Button("cryRestore"))->text(QAccessible::Name),
            "Restore Removed Cry");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Button("cmdPlay"))->text(QAccessible::Name),
            "Play cry");
}

// The list's changes reach the core, and the core's answer the button: its
// state and its tooltip follow the species picked. (A click is heard in
// play_test.cpp.) A European image opens with no box but the success box,
// and Restore writes its own stock cry at its own byte.
TEST_F(Form1Test, PlayFollowsTheList) {
  const vantrel::Release& release = kReleases[7];
  std::vector<std::uint8_t> bytes = vantrel::test::ReleaseImageBytes(release, 6);
  vantrel::test::PutCry(bytes, release.cry_table_word, 25);
  const fs::path image = dir / "leaf green.gba";
  vantrel::test::WriteBytes(image, bytes);
  dialogs.Accept(Utf8FromPath(image));
  Click("cmdOpen");
  EXPECT_TRUE(Button("cmdPlay")->isEnabled());
  EXPECT_EQ(Button("cmdPlay")->toolTip().toStdString(),
            "Play Charizard's cry from " + Utf8FromPath(image));

  List()->setCurrentIndex(24);
  EXPECT_EQ(Button("cmdPlay")->toolTip().toStdString(),
            "Play Pikachu's cry from " + Utf8FromPath(image));
  List()->setCurrentIndex(-1);
  EXPECT_FALSE(Button("cmdPlay")->isEnabled());
  EXPECT_EQ(Button("cmdPlay")->toolTip(), "");
  Click("cryRestore");
  EXPECT_EQ(vantrel::test::ReadBytes(image)[static_cast<std::size_t>(release.cry_byte)], 3);
  EXPECT_EQ(boxes.shown,
            (std::vector<ShownBox>{kOpened, {"Cry restored successfully!", "Vantrel"}}));
}

TEST_F(Form1Test, CancelledOpenChangesNothing) {
  dialogs.Cancel();
  Click("cmdOpen");
  EXPECT_EQ(dialogs.calls.size(), 1u);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(List()->isEnabled());
  EXPECT_EQ(form.RomPath(), "");
}

// Drag and drop as a file manager does it: a list of file URLs.
class DropTest : public Form1Test {
 protected:
  // Whether the window took the drag, and dropped it if so.
  bool Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = form.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    return true;
  }
};

TEST_F(DropTest, DroppedImageOpensAsIfChosen) {
  const fs::path first = Image("first.gba", 25);
  const fs::path second = Image("second.gba", 6);
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(Utf8FromPath(first))),
                    QUrl::fromLocalFile(QString::fromStdString(Utf8FromPath(second)))}));
  EXPECT_EQ(form.RomPath(), Utf8FromPath(first));
  EXPECT_EQ(List()->currentText(), "Pikachu");
  EXPECT_TRUE(Button("cmdSave")->isEnabled());
  EXPECT_EQ(boxes.shown, std::vector<ShownBox>{kOpened});
  EXPECT_TRUE(dialogs.calls.empty());
}

// A name that is not UTF-8 comes percent-encoded and opens that very file,
// not the one its text would name.
TEST_F(DropTest, DroppedNameIsTakenByteForByte) {
  const fs::path image = Image("caf\xE9.gba", 25);
  const fs::path sibling = Image("caf\xEF\xBF\xBD.gba", 6);
  const QByteArray name = QByteArray::fromStdString(Utf8FromPath(image));
  ASSERT_TRUE(Drop({QUrl::fromEncoded("file://" + name.toPercentEncoding("/"))}));
  EXPECT_EQ(form.RomPath(), Utf8FromPath(image));
  EXPECT_EQ(List()->currentText(), "Pikachu");
  EXPECT_EQ(CryOf(sibling), 6);
}

TEST_F(DropTest, OnlyLocalFilesAreTaken) {
  EXPECT_FALSE(Drop({QUrl(QStringLiteral("https://example.org/fire.gba"))}));
  EXPECT_FALSE(Drop({QUrl(QStringLiteral("file://elsewhere/fire.gba"))}));
  EXPECT_FALSE(Drop({}));
  EXPECT_TRUE(boxes.shown.empty());
}

// The name reaches the commands byte for byte: one that is not UTF-8 opens
// that very file, not the one Qt's text would name.
TEST_F(Form1Test, ImageNamedOnTheCommandLineOpensAtStart) {
  const fs::path image = Image("caf\xE9.gba", 25);
  const fs::path sibling = Image("caf\xEF\xBF\xBD.gba", 6);
  char program[] = "vantrel";
  char end_of_options[] = "--";
  char name[] = "caf\xE9.gba";
  char* argv[] = {program, end_of_options, name};
  EXPECT_EQ(ParseCommandLine(1, argv).image, std::nullopt);
  const CommandLine command_line = ParseCommandLine(3, argv);
  ASSERT_EQ(command_line.action, CommandLine::Action::kShowWindow);
  ASSERT_TRUE(command_line.image);

  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(Utf8FromPath(dir.Path()))));
  form.Commands().OpenPath(*command_line.image);
  QDir::setCurrent(previous);
  EXPECT_EQ(form.RomPath(), Utf8FromPath(image));
  EXPECT_EQ(List()->currentText(), "Pikachu");
  Click("Command1");
  EXPECT_EQ(CryOf(image), 0);
  EXPECT_EQ(CryOf(sibling), 6);
  EXPECT_EQ(boxes.shown,
            (std::vector<ShownBox>{kOpened, {"Cry removed successfully!", "Vantrel"}}));
}

TEST(VantrelProgram, WithoutADisplaySaysSoAndNamesTheCommandLineTool) {
  vantrel::test::TempDir dir;
  const fs::path image = vantrel::test::MakeImage(dir / "fire.gba");
  const vantrel::test::ProgramResult result =
      vantrel::test::RunProgram({"/usr/bin/env", "-i", VANTREL_PATH, Utf8FromPath(image)});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("vantrel-cli"), std::string::npos) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  EXPECT_EQ(vantrel::test::ReadBytes(image), vantrel::test::ImageBytes());
}

// Options are read before a display is looked for; after "--" even an
// option's spelling is an image.
TEST(VantrelProgram, OptionsNeedNoDisplayAndAreNeverTakenForAnImage) {
  auto run = [](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"/usr/bin/env", "-i", VANTREL_PATH});
    return vantrel::test::RunProgram(arguments);
  };
  vantrel::test::ProgramResult result = run({"--help"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out.rfind("Usage: vantrel [--] [IMAGE]\n", 0), 0u) << result.out;
  EXPECT_EQ(result.err, "");
  result = run({"--version"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "vantrel 1.00\n");
  result = run({"--bogus"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "vantrel: Unknown option 'bogus'.\nUsage: vantrel [--] [IMAGE]\n");
  result = run({"--", "--help"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("no display"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace vantrel::qt
