#include "shell/qt/file_dialog_qt.h"

#include <QFileDialog>
#include <algorithm>

#include "api/vantrel.h"

namespace vantrel::qt {
namespace {

// A buffer's text before its first NUL; a buffer of blanks holds no name.
QString BufferText(const std::string& buffer) {
  const std::string text = buffer.substr(0, buffer.find('\0'));
  if (text.find_first_not_of(' ') == std::string::npos) return {};
  return QString::fromStdString(text);
}

bool Run(OpenFileNameRecord& record, QFileDialog::AcceptMode mode) {
  // A starting "folder" that names a file starts in its folder with the
  // file selected, as the platform's own dialogs do.
  QFileDialog dialog(QWidget::find(static_cast<WId>(record.hwndOwner)),
                     QString::fromStdString(record.lpstrTitle),
                     QString::fromStdString(record.lpstrInitialDir));
  dialog.setAcceptMode(mode);
  dialog.setFileMode((record.Flags & kOfnFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
  const QStringList filters = NameFilters(record.lpstrFilter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    // 1-based; 0 or one past the end falls back to the first filter.
    const qsizetype index = record.nFilterIndex;
    dialog.selectNameFilter(filters[index >= 1 && index <= filters.size() ? index - 1 : 0]);
  }
  if (const QString proposed = BufferText(record.lpstrFile); !proposed.isEmpty()) {
    dialog.selectFile(proposed);
  }
  if (mode == QFileDialog::AcceptSave && !record.lpstrDefExt.empty()) {
    QString extension = QString::fromStdString(record.lpstrDefExt);
    if (extension.startsWith(u'.')) extension.remove(0, 1);
    dialog.setDefaultSuffix(extension);
  }

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  // Qt shows a name that is not UTF-8 with U+FFFD in place of its odd bytes,
  // which cannot be turned back: the name would be another file's.
  const QString chosen = dialog.selectedFiles().front();
  if (chosen.contains(QChar::ReplacementCharacter)) {
    ShowFailureBox(RuntimeError(kBadFileNameOrNumber));
    return false;
  }
  const std::string path = chosen.toStdString();
  if (path.size() + 1 > record.nMaxFile) return false;
  record.lpstrFile.replace(0, path.size() + 1, path + '\0');
  record.nFilterIndex =
      static_cast<std::uint32_t>(filters.indexOf(dialog.selectedNameFilter()) + 1);
  return true;
}

}  // namespace

QStringList NameFilters(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split(QChar(u'\0'));
  QStringList filters;
  for (qsizetype pair = 0; pair + 1 < parts.size(); pair += 2) {
    const QString& description = parts[pair];
    QString patterns = parts[pair + 1];
    if (patterns.isEmpty()) continue;
    patterns.replace(u';', u' ');
    const QString suffix = QStringLiteral("(%1)").arg(patterns);
    filters.push_back(description.endsWith(suffix)
                          ? description
                          : QStringLiteral("%1 %2").arg(description, suffix));
  }
  return filters;
}

bool QtDialogBackend::ShowOpenDialog(OpenFileNameRecord& record) {
  return Run(record, QFileDialog::AcceptOpen);
}

bool QtDialogBackend::ShowSaveDialog(OpenFileNameRecord& record) {
  return Run(record, QFileDialog::AcceptSave);
}

}  // namespace vantrel::qt
