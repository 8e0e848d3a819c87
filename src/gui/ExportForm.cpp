#include "gui/ExportForm.h"

#include "interchange/Export.h"
#include "settings/UIText.h"

namespace velloria {

namespace {

// The names are the text table's, "lblNescape" included.
const ExchangeDirection kExport{
    .objectName = "ExportForm",
    .caption = "Export Bookmarks",
    .texts = TextWindow::Export,
    .rows = {{{"grbIE", "chkIE", "lblIE", "edIEFile", "sbIEFav", "Export to Internet Explorer", "Export Bookmarks",
               "Directory Location:", nullptr, kFavoritesImage},
              {"grbNetscape", "chkNetscape", "lblNescape", "edNetscapeFile", "sbNetscapeFile",
               "Export to Netscape Navigator", "Export Bookmarks", "File Location:", kNetscapeFileFilters,
               kBookmarkFileImage},
              {"grbOpera", "chkOpera", "lblOpera", "edOperaFile", "sbOperaFile", "Export to Opera", "Export Bookmarks",
               "File Location:", kOperaFileFilters, kHotlistImage},
              {"grbXbel", "chkXbel", "lblXbel", "edXbelFile", "sbXbelFile", "Export to XBEL", "Export Bookmarks",
               "File Location:", kXbelFileFilters, kBookmarkFileImage}}},
    .offersBrowsers = false,
    .checkOpensRow = false,
    .progressText = text::ExportingBookmarks,
    .open = exportDialogChoice,
    .confirm = [](ExchangeLibrary& model, const ExchangeChoice& choice, const ProgressFunction& progress) {
        exportBookmarks(model, choice, progress);
        return std::vector<ImportReport>();
    },
};

} // namespace

ExportForm::ExportForm(MainWindowModel& model, MainForm& owner) : ExchangeForm(model, owner, kExport) {}

} // namespace velloria
