#pragma once

#include "gui/ExchangeProgress.h"
#include "interchange/BrowserProfiles.h"
#include "interchange/ExchangeLibrary.h"
#include "interchange/Import.h"
#include "settings/TextBindings.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace velloria {

class MainForm;
class MainWindowModel;

// The file filters of the two file pickers, which import and export share.
inline constexpr const char* kNetscapeFileFilters = "Netscape Bookmarks (*.html);;Any file (*)";
inline constexpr const char* kOperaFileFilters = "Opera HotList (*.adr);;Any file (*)";
inline constexpr const char* kXbelFileFilters = "XBEL Bookmarks (*.xbel);;Any file (*)";
// The icons of the three rows, numbered as the image list numbers them: a folder for the
// favorites directory, a page for the bookmark file, a globe for the hotlist.
inline constexpr int kFavoritesImage = 6;
inline constexpr int kBookmarkFileImage = 3;
inline constexpr int kHotlistImage = 31;

// One row of the import and export dialogs, for one browser: a group box holding a check box,
// a label, the location edit and its "..." picker, named as the text table names them.
struct ExchangeRowInfo {
    const char* group;
    const char* check;
    const char* label;
    const char* edit;
    const char* picker;
    const char* groupText;
    const char* checkText;
    const char* labelText;
    const char* fileFilters; // ";;"-separated; null: the location is a directory
    int image;               // the group's icon in the image list
};

// What sets the import and the export dialog apart.
struct ExchangeDirection {
    const char* objectName;
    const char* caption;
    TextWindow texts;
    std::array<ExchangeRowInfo, 4> rows; // Internet Explorer, Netscape, Opera, XBEL
    // Import: the rows are a page of files beside a page of the browser profiles on this computer.
    bool offersBrowsers;
    // Import: an unchecked row closes its edit and picker. Export: edits are always read-only
    // (a location only comes from the picker) and the pickers always work.
    bool checkOpensRow;
    int progressText; // the label of the progress dialog, from the text table
    ExchangeChoice (*open)(ExchangeLibrary& model);
    // The work of OK; an import reports what it did for each source, an export nothing.
    std::vector<ImportReport> (*confirm)(ExchangeLibrary& model, const ExchangeChoice& choice,
                                         const ProgressFunction& progress);
};

// The dialog that import and export share: a row per browser, OK and Cancel. It opens with the
// choice the core gives for the preferences; OK hands the rows to the core with a progress
// dialog. An error is shown and the dialog stays open; a cancelled progress closes it. A
// finished import closes it and shows its summary in an information box.
class ExchangeForm : public QDialog {
    Q_OBJECT

public:
    // The pickers, replaceable by tests. Each gets the edit's text (and the file filters) and
    // returns the chosen location, or an empty text when the user cancelled.
    std::function<QString(const QString& start)> pickDirectory;
    std::function<QString(const QString& start, const QStringList& filters)> pickFile;
    // When the progress dialog of OK comes up and how often it is updated.
    ExchangeProgress::Timing progressTiming;

protected:
    ExchangeForm(MainWindowModel& model, MainForm& owner, const ExchangeDirection& direction);

private:
    struct Row {
        QGroupBox* group = nullptr;
        QCheckBox* check = nullptr;
        QLineEdit* edit = nullptr;
        QToolButton* picker = nullptr;
    };

    Row createRow(std::size_t index);
    static void arrangeRow(const Row& row, QLabel& icon, QLabel& label);
    void arrangeControls();
    void fill(const ExchangeChoice& choice);
    void showRowState(const Row& row) const;
    void browse(std::size_t index);
    ExchangeChoice choice() const;
    void confirm();
    // The page of browsers: a list of the profiles found, each with a check box.
    QWidget* createBrowsersPage();
    bool browsersShown() const;
    void loadProfiles();
    std::vector<BrowserProfile> tickedProfiles() const;
    // What the dialogs remember for the run.
    ExchangeMemory& memory() const;
    void updateOk();

    MainWindowModel& m_model;
    MainForm& m_owner;
    const ExchangeDirection& m_direction;
    std::array<Row, 4> m_rows;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QTabWidget* m_pages = nullptr;
    QTreeWidget* m_profileList = nullptr;
    QLabel* m_noProfile = nullptr;
    std::vector<ProfileRow> m_profiles;
    bool m_profilesLoaded = false;
};

// "Import Bookmarks": each checked browser store with a location, or each ticked browser profile,
// becomes a new top-level folder.
class ImportForm : public ExchangeForm {
    Q_OBJECT

public:
    ImportForm(MainWindowModel& model, MainForm& owner);
};

} // namespace velloria
