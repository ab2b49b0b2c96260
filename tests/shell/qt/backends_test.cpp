#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "dialogs/cls_common_dialog.h"
#include "qt_support.h"
#include "runtime/path_text.h"
#include "shell/qt/file_dialog_qt.h"
#include "shell/qt/form1.h"
#include "shell/qt/message_box_qt.h"
#include "support/recording_box.h"
#include "support/temp_files.h"

namespace vantrel::qt {
namespace {

namespace fs = std::filesystem;
using test::AnswerModal;

QString Text(const fs::path& path) {
  return QString::fromStdString(Utf8FromPath(path));
}

// As a user does: types the name and presses the dialog's Open or Save
// button (accept, which QDialog makes public).
void Choose(QFileDialog* chooser, const QString& name) {
  chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
  static_cast<QDialog*>(chooser)->accept();
}

TEST(QtMessageBoxTest, ShowsTitleAndTextWithOneOkAndNoIconModalToTheWindow) {
  QWidget owner;
  owner.show();
  QtMessageBox boxes(&owner);
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::Information;
  QMessageBox::StandardButtons buttons;
  QWidget* parent = nullptr;
  bool modal = false, button_has_icon = true;
  AnswerModal([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    parent = box->parentWidget();
    modal = box->isModal();
    button_has_icon = !box->button(QMessageBox::Ok)->icon().isNull();
    box->button(QMessageBox::Ok)->click();
  });
  boxes.Show("Cry restored successfully!", "Vantrel");

  EXPECT_EQ(title, "Vantrel");
  EXPECT_EQ(text, "Cry restored successfully!");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons, QMessageBox::Ok);
  EXPECT_FALSE(button_has_icon);
  EXPECT_EQ(parent, &owner);
  EXPECT_TRUE(modal);
}

TEST(NameFiltersTest, PairsBecomeQtFiltersWithoutRepeatingPatterns) {
  EXPECT_EQ(NameFilters(std::string("GBA ROMs (*.gba)\0*.gba\0", 23)),
            QStringList{"GBA ROMs (*.gba)"});
  EXPECT_EQ(NameFilters(std::string("Patches\0*.gpl;*.ips\0All\0*.*\0", 28)),
            (QStringList{"Patches (*.gpl *.ips)", "All (*.*)"}));
  EXPECT_EQ(NameFilters(std::string("\0", 1)), QStringList{});
}

// The wrapper over the Qt backend, as the Open command and a save would use
// it; the test plays the user from inside the dialog.
class QtDialogTest : public ::testing::Test {
 protected:
  fs::path Image(std::string_view name) { return vantrel::test::MakeImage(dir / name); }

  vantrel::test::TempDir dir;
  QWidget owner;
  QtDialogBackend backend;
  clsCommonDialog dialog{backend};
};

TEST_F(QtDialogTest, OpenShowsTheRecordAndReturnsTheChosenFile) {
  const fs::path image = Image("fire.gba");
  QString title;
  QStringList filters;
  QString selected_filter, directory;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  QFileDialog::AcceptMode accept = QFileDialog::AcceptSave;
  QWidget* parent = nullptr;
  AnswerModal([&](QWidget* widget) {
    auto* chooser = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(chooser, nullptr);
    title = chooser->windowTitle();
    filters = chooser->nameFilters();
    selected_filter = chooser->selectedNameFilter();
    directory = chooser->directory().absolutePath();
    mode = chooser->fileMode();
    accept = chooser->acceptMode();
    parent = chooser->parentWidget();
    Choose(chooser, Text(image));
  });
  const std::string chosen =
      dialog.ShowOpen(static_cast<std::uintptr_t>(owner.winId()), "Open Pokemon GBA ROM...",
                      Utf8FromPath(dir.Path()), "GBA ROMs (*.gba)|*.gba", 0x1804);

  EXPECT_EQ(chosen, Utf8FromPath(image));
  EXPECT_EQ(dialog.FilterIndex(), 1);
  EXPECT_EQ(title, "Open Pokemon GBA ROM...");
  EXPECT_EQ(filters, QStringList{"GBA ROMs (*.gba)"});
  EXPECT_EQ(selected_filter, "GBA ROMs (*.gba)");
  EXPECT_EQ(directory, Text(dir.Path()));
  EXPECT_EQ(mode, QFileDialog::ExistingFile);
  EXPECT_EQ(accept, QFileDialog::AcceptOpen);
  EXPECT_EQ(parent, &owner);
}

TEST_F(QtDialogTest, CancelReturnsNothingAndALaterOpenStartsAtTheLastFile) {
  const fs::path image = Image("fire.gba");
  AnswerModal([&](QWidget* widget) {
    auto* chooser = qobject_cast<QFileDialog*>(widget);
    Choose(chooser, Text(image));
  });
  ASSERT_EQ(dialog.ShowOpen(0, "Open", Utf8FromPath(dir.Path()), "GBA ROMs (*.gba)|*.gba", 0x1804),
            Utf8FromPath(image));

  QString directory;
  QStringList selected;
  AnswerModal([&](QWidget* widget) {
    auto* chooser = qobject_cast<QFileDialog*>(widget);
    directory = chooser->directory().absolutePath();
    selected = chooser->selectedFiles();
    chooser->reject();
  });
  EXPECT_EQ(dialog.ShowOpen(0, "Open", "", "GBA ROMs (*.gba)|*.gba", 0x1804), "");
  EXPECT_EQ(directory, Text(dir.Path()));
  EXPECT_EQ(selected, QStringList{Text(image)});
  EXPECT_EQ(dialog.FilterIndex(), 1);
}

// Qt shows the name "caf\xE9.gba" as "caf\uFFFD.gba", which is another
// file's name: a chosen name holding U+FFFD cannot be turned back, and is
// refused rather than taken for that other file.
TEST_F(QtDialogTest, ANameQtCannotTurnBackIntoItsBytesIsRefused) {
  Image("caf\xE9.gba");
  const fs::path lookalike = Image("caf\xEF\xBF\xBD.gba");
  vantrel::test::RecordingMessageBox boxes;
  AnswerModal(
      [&](QWidget* widget) { Choose(qobject_cast<QFileDialog*>(widget), Text(lookalike)); });
  EXPECT_EQ(dialog.ShowOpen(0, "Open", Utf8FromPath(dir.Path()), "GBA ROMs (*.gba)|*.gba", 0x1804),
            "");
  const vantrel::test::ShownBox refused{"Bad file name or number", "Error: 52"};
  EXPECT_EQ(boxes.shown, std::vector{refused});
}

TEST_F(QtDialogTest, SaveProposesTheNameAndReportsTheFilterPicked) {
  QString proposed, suffix;
  QFileDialog::FileMode mode = QFileDialog::ExistingFile;
  QFileDialog::AcceptMode accept = QFileDialog::AcceptOpen;
  AnswerModal([&](QWidget* widget) {
    auto* chooser = qobject_cast<QFileDialog*>(widget);
    proposed = chooser->selectedFiles().value(0);
    suffix = chooser->defaultSuffix();
    mode = chooser->fileMode();
    accept = chooser->acceptMode();
    chooser->selectNameFilter(QStringLiteral("All (*.*)"));
    Choose(chooser, QStringLiteral("patch"));
  });
  const std::string saved = dialog.ShowSave(0, "Save patch", "patch", Utf8FromPath(dir.Path()),
                                            "Patches|*.gpl;*.ips|All|*.*", 0);

  EXPECT_EQ(saved, Utf8FromPath(dir / "patch.gpl"));
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_EQ(proposed, Text(dir / "patch.gpl"));
  EXPECT_EQ(suffix, "gpl");
  EXPECT_EQ(mode, QFileDialog::AnyFile);
  EXPECT_EQ(accept, QFileDialog::AcceptSave);
}

}  // namespace
}  // namespace vantrel::qt
