#pragma once

#include <QStringList>

#include "dialogs/open_file_name.h"

namespace vantrel::qt {

// "A\0*.a;*.b\0" -> {"A (*.a *.b)"}: the record's filter pairs as Qt's name
// filters. A description that already ends in its patterns keeps its text.
QStringList NameFilters(const std::string& filter);

// QFileDialog behind the dialog wrapper: the record's owner (a native window
// id), title, starting folder or file, filters and selected filter; "file
// must exist" admits existing files only.
class QtDialogBackend : public DialogBackend {
 public:
  bool ShowOpenDialog(OpenFileNameRecord& record) override;
  bool ShowSaveDialog(OpenFileNameRecord& record) override;
};

}  // namespace vantrel::qt
