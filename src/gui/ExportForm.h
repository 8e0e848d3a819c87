#pragma once

#include "gui/ImportForm.h"

namespace velloria {

// "Export Bookmarks": the whole library goes to each checked browser store. A location is only
// chosen with its picker; the edits show it.
class ExportForm : public ExchangeForm {
    Q_OBJECT

public:
    ExportForm(MainWindowModel& model, MainForm& owner);
};

} // namespace velloria
