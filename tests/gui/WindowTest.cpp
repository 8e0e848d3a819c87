// The main window as the user meets it, offscreen: menus, shortcuts, the dialogs and their captions in
// the language in use, the panes, the Qt item models under QAbstractItemModelTester, clicks and drags,
// the remembered layout, the tray icon and a second copy of the program handing over to the first.

#include "GuiTest.h"
#include "gui/DelMesForm.h"
#include "gui/DuplicatesForm.h"
#include "gui/LinkCheckForm.h"
#include "gui/ExportForm.h"
#include "gui/GenHtmlForm.h"
#include "gui/ImportForm.h"
#include "gui/NewItemForm.h"
#include "gui/PreferencesForm.h"
#include "gui/QtText.h"
#include "gui/SingleInstance.h"
#include "gui/TrayIcon.h"
#include "platform/FileIO.h"
#include "settings/HomeSetup.h"
#include "support/WebServer.h"
#include "support/LibraryFiles.h"
#include "tools/Sort.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

using namespace velloria;
using namespace velloria::test;

namespace {

using Rows = std::array<std::array<const char*, 2>, 4>; // check box, location
constexpr Rows kImportRows{{{"chkImportIE", "edIEDirectory"},
                            {"chkNetscape", "edNetscapeFile"},
                            {"chkOpera", "edOperaFile"},
                            {"chkXbel", "edXbelFile"}}};
constexpr Rows kExportRows{
    {{"chkIE", "edIEFile"}, {"chkNetscape", "edNetscapeFile"}, {"chkOpera", "edOperaFile"}, {"chkXbel", "edXbelFile"}}};

// The rows as the user sees them: "[x] location, editable|read-only".
QStringList rowStates(QWidget& dialog, const Rows& rows, const SampleWindow& window)
{
    QStringList states;
    for (const auto& [check, edit] : rows) {
        const auto* field = control<QLineEdit>(dialog, edit);
        states << QStringLiteral("[%1] %2, %3")
                      .arg(control<QCheckBox>(dialog, check)->isChecked() ? "x" : " ", window.tilde(field->text()),
                           field->isReadOnly() ? "read-only" : "editable");
    }
    return states;
}

QString path(const std::filesystem::path& file)
{
    return QString::fromStdString(file.string());
}

// What the dialog shows: its title, then "name: text" of each named control with a text.
QStringList captions(QWidget& dialog)
{
    QStringList lines{dialog.windowTitle()};
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(child))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(child))
            text = button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(child))
            text = group->title();
        if (!child->objectName().isEmpty() && !text.isEmpty())
            lines << child->objectName() + ": " + text;
    }
    return lines;
}

// The controls that Tab visits from the focused one, as far as the given count.
QStringList tabStops(QWidget& dialog, int count)
{
    QStringList stops{dialog.focusWidget()->objectName()};
    while (stops.size() < count) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        stops << dialog.focusWidget()->objectName();
    }
    return stops;
}

void clickHeader(QTableView& view, int column)
{
    QHeaderView* header = view.horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

QPoint rowCentre(const QTableView& view, int row)
{
    return view.visualRect(view.model()->index(row, 0)).center();
}

// Drags the data onto the target folder as the window system does; returns whether the tree took it.
bool dragOnto(SampleWindow& window, const QMimeData& data, const QString& target, Qt::KeyboardModifiers keys = {})
{
    QWidget* viewport = window.folderView()->viewport();
    const QPoint where = window.folderView()->visualRect(window.folderItem(target)).center();
    // As a drag that the program starts offers: a move, or with Ctrl a copy.
    const Qt::DropActions offered = keys.testFlag(Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
    QDragEnterEvent enter(where, offered, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(where, offered, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(viewport, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
        return false;
    }
    QDropEvent drop(where, offered, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}

QSplitter* splitter(const SampleWindow& window, const char* name)
{
    return window.form.findChild<QSplitter*>(QString::fromLatin1(name));
}

// The texts of the actions, "-" for a separator.
QString actionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts.join(QStringLiteral(", "));
}

// What a command can change: the dialogs shown, the links opened, the rows (* selected), the expanded
// folders, whether Save and Paste are enabled and whether Work's saved copy equals its working file.
QStringList windowState(const SampleWindow& window, const QStringList& dialogs)
{
    QStringList rows, expanded;
    for (int row = 0; row < window.linkModel()->rowCount(); ++row)
        rows << window.linkModel()->index(row, 0).data().toString()
                    + (window.linkView()->selectionModel()->isRowSelected(row) ? "*" : "");
    for (const char* path : {"Main", "Work", "Work/Projects"})
        if (window.folderView()->isExpanded(window.folderItem(path)))
            expanded << path;
    return {"dialogs: " + dialogs.join(QStringLiteral("; ")), "opened: " + window.opened(),
            "rows: " + rows.join(QStringLiteral(", ")), "expanded: " + expanded.join(QStringLiteral(", ")),
            QStringLiteral("save %1, paste %2, backup %3")
                .arg(window.action("FileSave")->isEnabled() ? "on" : "off",
                     window.action("EditPaste")->isEnabled() ? "on" : "off",
                     window.home.read("Links/Work.wnl") == window.home.read("Links/Work.~wnl") ? "same" : "differs")};
}

QString describeDialog(QDialog& dialog)
{
    QString text = dialog.windowTitle();
    for (const QRadioButton* choice : dialog.findChildren<QRadioButton*>())
        if (choice->isChecked())
            text += " [" + choice->objectName() + "]";
    if (const auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("edTitle")))
        text += " '" + title->text() + "'";
    return text;
}

constexpr auto kReportToQtTest = QAbstractItemModelTester::FailureReportingMode::QtTest;

// The core's tree, rows, selection, focused row and folder; viewState: the same as the Qt views show it.
QStringList coreState(const MainWindowModel& model)
{
    QStringList tree, rows, selected;
    for (const TFolderRecord& folder : model.library().folderTree().records())
        tree << QString(folder.Level * 2, u' ') + toQString(folder.Name);
    for (const TLinkRecord& link : model.library().linkList())
        rows << toQString(link.Title + " | " + link.Address + " | " + link.LastVisit + " | " + link.AddDate);
    for (std::size_t row : model.selection().selectedRows())
        selected << QString::number(row);
    selected.sort();
    const std::size_t folder = model.tree().selectedFolder();
    const std::size_t focused = model.selection().focusedRow();
    return {tree.join(u'/'), rows.join(u'/'), selected.join(u','),
            QString::number(focused == MainWindowModel::npos ? -1 : static_cast<int>(focused)),
            folder == MainWindowModel::npos ? QString() : toQString(model.library().folderTree()[folder].Name)};
}

QStringList viewState(const SampleWindow& window)
{
    QStringList selected;
    for (const QModelIndex& row : window.linkView()->selectionModel()->selectedRows())
        selected << QString::number(row.row());
    selected.sort();
    return {treeLines(*window.folderModel()).join(u'/'), rowLines(*window.linkModel()).join(u'/'), selected.join(u','),
            QString::number(window.linkView()->currentIndex().row()), window.currentFolder()};
}

// Starts the window as the program does, with a tray or without one.
bool startWindow(SampleWindow& window, bool withTray)
{
    if (!window.start())
        return false;
    window.form.showAtStart(withTray ? std::function<bool()>([] { return true; }) : std::function<bool()>());
    return true;
}

void clickIcon(const SampleWindow& window, QSystemTrayIcon::ActivationReason reason)
{
    emit window.form.trayIcon()->icon().activated(reason);
}

// The entry reached through the captions of the menus on the way, each menu opened first.
QAction* menuEntry(QMenu& menu, const QStringList& path)
{
    QMenu* current = &menu;
    QAction* found = nullptr;
    for (const QString& caption : path) {
        current->popup(QPoint(0, 0));
        const QList<QAction*> entries = current->actions();
        const auto at = std::find_if(entries.begin(), entries.end(), [&](QAction* a) { return a->text() == caption; });
        found = at == entries.end() ? nullptr : *at;
        if (!found || !found->menu())
            break;
        current = found->menu();
    }
    return found;
}

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void eachDialogShowsTheCaptionsOfTheLanguage_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("captions"); // the title, then the named controls' texts, sorted
        // The OK buttons of New Item, Edit Item and Find are not in the table: they keep their text.
        QTest::newRow("new item") << "EditAddUrl"
            << "Neu: btnCancel: Abbrechen, btnOK: OK, chkAddFolderInFolder: Add the new folder inside folder being "
               "selected, grbItemType: Art, lblAddress: Adresse:, lblDescription: Description:, lblTitle: Titel:, "
               "rdbFolder: Ordner, rdbURL: Lesezeichen";
        QTest::newRow("edit item") << "EditEditItem"
            << "Bearbeiten: btnCancel: Abbrechen, btnOK: OK, lblAddress: Adresse:, lblDescription: Description:, "
               "lblTitle: Titel:";
        QTest::newRow("delete") << "EditDelete"
            << "L\u00f6schen: btnNo: Nein, btnYes: Ja, chkShowDialog: Nicht mehr fragen, lblDelItems: Wirklich "
               "l\u00f6schen?";
        QTest::newRow("find") << "EditFind"
                              << "Suchen (fixed size): btnCancel: Abbrechen, btnOK: OK, lblTextToFind: Gesuchter Text:";
        QTest::newRow("statistics") << "ToolsStatistics" << "Statistik (fixed size): btnOk: Gut";
        QTest::newRow("duplicates") << "ToolsFindDuplicates"
            << "Duplikate: btnClose: &Close, btnDeleteChecked: Markierte l\u00f6schen, btnOpen: &Open, btnShow: &Show, "
               "chkLoose: Compare &loosely: http and https, www. and a trailing / alike, lblSummary: No link is in "
               "the library more than once.";
        QTest::newRow("check links") << "ToolsCheckLinks"
            << "Check Links: btnCancel: Abbrechen, btnClose: &Close, btnDelete: &Delete, btnOpen: &Open, btnShow: &Show, "
               "btnStart: &Start, btnUpdateAddress: &Update Address, chkSubfolders: With its &subfolders, lblFilter: "
               "S&how:, rbFolder: The selected &folder: Work, rbWholeLibrary: The &whole library";
        QTest::newRow("HTML") << "FileGenHtml"
            << "HTML-Einstellungen (fixed size): btnCancel: Abbrechen, btnOk: Gut, chkGenSelFold: Generate from "
               "selected folder only, grbColorScheme: Farben, grbTextInfo: Texte, lblBackground: Background:, "
               "lblBookmarkArea1: Bookmark Area 1:, lblBookmarkArea2: Bookmark Area 2:, lblHeaderArea: Header Area:, "
               "lblHeaderMessage: Welcome Header:, lblText: Schrift:, lblTitle: Titel:, lblWelcomeArea: "
               "Willkommensbereich:, lblWelcomeMessage: Welcome Message:";
        QTest::newRow("import") << "FileImport"
            << "Importieren (fixed size): btnCancel: Abbrechen, btnOk: Gut, chkImportIE: IE-Favoriten, chkNetscape: "
               "Netscape-Lesezeichen, chkOpera: Opera-Hotlist, chkXbel: Import XBEL Bookmarks, grbIE: Aus IE, "
               "grbNetscape: Aus Netscape, grbOpera: Aus Opera, grbXbel: Import from XBEL, lblIEDirectory: "
               "Verzeichnis:, lblNetscapeFile: Datei:, lblNoProfile: No browser profile was found on this computer., "
               "lblOperaFile: Datei:, lblXbelFile: Datei:, sbIEDirectory: ..., sbNetscapeFile: ..., sbOperaFile: ..., "
               "sbXbelFile: ...";
        QTest::newRow("export") << "FileExport"
            << "Exportieren (fixed size): btnCancel: Abbrechen, btnOk: Gut, chkIE: Exportieren, chkNetscape: "
               "Exportieren, chkOpera: Exportieren, chkXbel: Exportieren, grbIE: Nach IE, grbNetscape: Nach Netscape, "
               "grbOpera: Nach Opera, grbXbel: Export to XBEL, lblIE: Verzeichnis:, lblNescape: Datei:, lblOpera: "
               "Datei:, lblXbel: Datei:, sbIEFav: ..., sbNetscapeFile: ..., sbOperaFile: ..., sbXbelFile: ...";
        QTest::newRow("about") << "HelpAbout"
            << "\u00dcber Velloria (fixed size): btnOK: Gut, lblHomePage: <a href=\"https://velloria.example/\">"
               "https://velloria.example/</a>, lblName: Velloria <version>, lblWhat: Ein Lesezeichen-Manager";
        QTest::newRow("preferences") << "ToolsPreferences"
            << "Preferences (fixed size): btnApply: Apply, btnCancel: Abbrechen, btnDefaultColors: Default Colors, "
               "btnDelete: Delete, btnEditLanguage: Edit, btnOK: Gut, btnSave: Save, btnSaveAs: Save As..., "
               "chkAutoSave: Auto save every, chkConfirmDeleting: Confirm deleting items, chkCreateTrayIcon: Create "
               "Tray icon, chkMinimized: Minimized, chkOpenLastURL: Open last Bookmark, chkRestFoldStates: Restore "
               "folder states, grbGeneral: Allgemein, grbList: Bookmarks pane, grbMenuColor: Main Menu && Toolbar, "
               "grbStart: Start, grbTree: Folders pane, lblFont: Font:, lblItem: Item:, lblItemFrame: Item Frame:, "
               "lblLanguages: Languages:, lblListBackground: Background:, lblListFont: Font:, lblMins: mins., "
               "lblSelFont: Selected Font:, lblTreeBackground: Background:, lblTreeFont: Font:";
    }

    void eachDialogShowsTheCaptionsOfTheLanguage()
    {
        QFETCH(QString, command);
        SampleWindow window;
        window.home.write("Deutsch.lng",
                          crlf({"000 1.0", "001 Deutsch", "301 Titel:", "303 Adresse:", "307 \xC3\x9C" "ber",
                                "308 HTML-Einstellungen", "309 Texte", "310 L\xC3\xB6schen", "312 Abbrechen", "313 Gut",
                                "314 Ja", "315 Nein", "316 Wirklich l\xC3\xB6schen?", "317 Nicht mehr fragen",
                                "318 Bearbeiten", "319 Suchen", "320 Gesuchter Text:", "321 Neu", "322 Ordner",
                                "323 Lesezeichen", "325 Allgemein", "344 Farben", "347 Willkommensbereich:",
                                "351 Schrift:", "362 Art", "367 Statistik", "388 Importieren", "389 Aus IE",
                                "390 IE-Favoriten", "391 Verzeichnis:", "392 Aus Netscape", "393 Netscape-Lesezeichen",
                                "394 Datei:", "395 Aus Opera", "396 Opera-Hotlist", "397 Exportieren", "398 Nach IE",
                                "399 Nach Netscape", "400 Nach Opera", "419 \xC3\x9C" "ber Velloria",
                                "423 Ein Lesezeichen-Manager", "438 Duplikate", "440 Markierte l\xC3\xB6schen"}));
        writeSamplePreferences(window.home, [&](TPreferences& prefs) {
            prefs.LanguageFile = (window.home.refLib() / "Deutsch.lng").string();
        });
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        QString shown;
        const ModalAnswerer<> answerer([&](QDialog& dialog) {
            QStringList lines = captions(dialog);
            const QString title = lines.takeFirst();
            lines.sort();
            shown = (title + (dialog.minimumSize() == dialog.maximumSize() ? " (fixed size)" : "")) + ": "
                    + lines.join(QStringLiteral(", "));
            shown.replace(QRegularExpression(QStringLiteral("\\d+\\.\\d+(\\.\\d+)?")), QStringLiteral("<version>"));
        });
        window.trigger(command.toLatin1().constData());
        QTEST(shown, "captions");
    }

    // The item type opens the fields that Tab visits; Enter in the description confirms
    // instead of breaking the line, and a pasted text is one line.
    void theItemTypeDecidesTheOpenFieldsAndEnterConfirms()
    {
        SampleWindow window;
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        QApplication::clipboard()->setText(QStringLiteral("Morning\nread"));
        QStringList shown;
        QVERIFY(answerDialog<NewItemForm>([&] { window.trigger("EditAddUrl"); }, [&](NewItemForm& dialog) {
            click(dialog, "rdbFolder");
            control(dialog, "edTitle")->setFocus();
            shown << tabStops(dialog, 5).join(u',');
            click(dialog, "rdbURL");
            control(dialog, "edTitle")->setFocus();
            shown << tabStops(dialog, 5).join(u',');
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("News"));
            QTest::keyClicks(control(dialog, "edAddress"), QStringLiteral("https://news.example/"));
            auto* description = control<QPlainTextEdit>(dialog, "memDescription");
            QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(description, Qt::Key_Return);
        }));
        QCOMPARE(shown, QStringList({"edTitle,memDescription,chkAddFolderInFolder,btnOK,btnCancel",
                                     "edTitle,edAddress,memDescription,btnOK,btnCancel"}));
        QCOMPARE(window.linkView()->currentIndex().data().toString(), QStringLiteral("News"));
        const std::string links = window.home.read("Links/Work.wnl");
        QVERIFY(links.find("0 News\r\n1 https://news.example/\r\n") != std::string::npos);
        QVERIFY(links.find("4 Morning read\r\n") != std::string::npos);
    }

    // Return answers Yes; the ticked box stops the question even when the answer is No.
    void theDeleteConfirmationListsTheItemsAndItsBoxStopsTheQuestion()
    {
        SampleWindow window;
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        QString listed;
        QVERIFY(answerDialog<DelMesForm>([&] { window.trigger("EditDelete"); }, [&](DelMesForm& dialog) {
            listed = control<QPlainTextEdit>(dialog, "memDelItems")->toPlainText();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        }));
        QVERIFY(answerDialog<DelMesForm>([&] { window.trigger("EditDelete"); }, [&](DelMesForm& dialog) {
            click(dialog, "chkShowDialog");
            click(dialog, "btnNo");
        }));
        QCOMPARE(listed, QStringLiteral("Mail (Bookmark)"));
        QCOMPARE(window.linkModel()->rowCount(), 2);
        window.trigger("EditDelete");
        QCOMPARE(window.linkModel()->rowCount(), 1);
    }

    // Space unticks a link; Delete Checked asks first, removes the ticked one from its folder's
    // list on screen, and Ctrl+Z in the window brings it back.
    void findDuplicatesDeletesTheTickedLinksAfterTheQuestion()
    {
        SampleWindow window;
        QVERIFY(window.start());
        window.model.tree().selectFolder(6);
        window.model.editing().addLink("Mail copy", "https://mail.example", "");
        window.model.tree().selectFolder(2);
        window.model.editing().addLink("Wiki again", "https://WIKI.example", "");
        QStringList shown;
        QString listed;
        QVERIFY(answerDialog<DuplicatesForm>([&] { window.trigger("ToolsFindDuplicates"); }, [&](DuplicatesForm& dialog) {
            auto* list = control<QTreeWidget>(dialog, "tvDuplicates");
            for (int group = 0; group < list->topLevelItemCount(); ++group)
                for (int member = 0; member < list->topLevelItem(group)->childCount(); ++member) {
                    const QTreeWidgetItem* item = list->topLevelItem(group)->child(member);
                    shown << item->text(0) + ": " + item->text(1) + (item->checkState(0) == Qt::Checked ? " x" : "");
                }
            list->setCurrentItem(list->topLevelItem(1)->child(1));
            QTest::keyClick(list, Qt::Key_Space);
            QTest::keyClick(list, Qt::Key_Return); // opens the link, and the dialog stays
            shown << window.opened() + (dialog.isVisible() ? " (open)" : "");
            shown << control<QLabel>(dialog, "lblSummary")->text();
            const ModalAnswerer<DelMesForm> yes([&](DelMesForm& question) {
                listed = control<QPlainTextEdit>(question, "memDelItems")->toPlainText();
                click(question, "btnYes");
            });
            click(dialog, "btnDeleteChecked");
            shown << control<QLabel>(dialog, "lblSummary")->text();
            click(dialog, "btnClose");
        }));
        QCOMPARE(shown, QStringList({"Main / Caf\u00e9: Wiki again x", "Work: Wiki", "Work: Mail",
                                     "Work / Archive: Mail copy x", "https://mail.example (open)",
                                     "Groups of the same link: 2. Checked for deleting: 1.",
                                     "Groups of the same link: 1. Checked for deleting: 1."}));
        QCOMPARE(listed, QStringLiteral("Main / Caf\u00e9: Wiki again (Bookmark)"));
        QCOMPARE(rowLines(*window.linkModel()).size(), 1);
        QVERIFY(window.action("EditUndo")->isEnabled());
        QTest::keyClick(window.linkView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rowLines(*window.linkModel()).size(), 2);
    }

    void checkLinksShowsItsProgressThenTheResultsAndActsOnTheRowsChosen()
    {
        test::WebServer server;
        SampleWindow window;
        QVERIFY(window.start());
        window.model.editing().addFolderIn(MainWindowModel::npos, "Checked", "");
        window.model.tree().selectFolder(7);
        for (const char* page : {"/ok", "/moved", "/missing", "/slow"})
            window.model.editing().addLink(page + 1, server.address(page), "");
        QStringList shown;
        QString listed;
        QVERIFY(answerDialog<LinkCheckForm>([&] { window.trigger("ToolsCheckLinks"); }, [&](LinkCheckForm& dialog) {
            auto* list = control<QTreeView>(dialog, "tvResults");
            click(dialog, "btnStart");
            // The slow page holds the check up until it is released.
            QTRY_COMPARE(control<QLabel>(dialog, "lblProgress")->text(), QStringLiteral("Addresses checked: 3 of 4"));
            shown << control<QLabel>(dialog, "lblInHand")->text() + (list->isEnabled() ? " enabled" : "");
            server.releaseSlowPages();
            QTRY_VERIFY(list->isEnabled());
            for (int row = 0; row < list->model()->rowCount(); ++row)
                shown << list->model()->index(row, 1).data().toString() + ": "
                             + list->model()->index(row, 3).data().toString();
            QTest::keyClick(list, Qt::Key_Return); // the current row, the first, opens
            shown << window.opened();
            list->selectionModel()->select(list->model()->index(1, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            click(dialog, "btnUpdateAddress");
            shown << control<QLabel>(dialog, "lblSummary")->text();
            list->selectionModel()->select(list->model()->index(0, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            const ModalAnswerer<DelMesForm> yes([&](DelMesForm& question) {
                listed = control<QPlainTextEdit>(question, "memDelItems")->toPlainText();
                click(question, "btnYes");
            });
            click(dialog, "btnDelete");
            shown << control<QLabel>(dialog, "lblSummary")->text();
            click(dialog, "btnClose");
        }));
        QCOMPARE(shown, QStringList({QString::fromStdString(server.address("/slow")), "missing: Broken", "moved: Moved", "ok: OK", "slow: OK",
                                     QString::fromStdString(server.address("/missing")),
                                     "Checked: 4. Broken: 1. Moved: 0. Errors: 0. OK: 3. Not checked: 0.",
                                     "Checked: 3. Broken: 0. Moved: 0. Errors: 0. OK: 3. Not checked: 0."}));
        QCOMPARE(listed, QStringLiteral("Checked: missing (Bookmark)"));
        QCOMPARE(rowLines(*window.linkModel()).size(), 3);
        QTest::keyClick(window.linkView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rowLines(*window.linkModel()).size(), 4);
    }

    void eachDialogHandsItsChoicesToTheModel()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.ImportOpera = prefs.ExportNetscape = false; });
        QVERIFY(window.start());
        const std::filesystem::path out = window.home.path() / "out";
        writeBytes(out / "in.html", crlf({"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "<DT><H3>News</H3>",
                                          "<DL><p>", "<DT><A HREF=\"https://news.example/\">Daily</A>", "</DL><p>",
                                          "<DT><A HREF=\"https://cut.exa"}));
        QStringList rows;
        const ModalAnswerer<QMessageBox> summary;
        QVERIFY(answerDialog<ImportForm>([&] { window.trigger("FileImport"); }, [&](ImportForm& dialog) {
            rows << rowStates(dialog, kImportRows, window);
            click(dialog, "chkImportIE");
            click(dialog, "chkOpera");
            rows << rowStates(dialog, kImportRows, window);
            control<QLineEdit>(dialog, "edNetscapeFile")->setText(path(out / "in.html"));
            click(dialog, "chkOpera");
            click(dialog, "btnOk");
        }));
        QVERIFY(answerDialog<ExportForm>([&] { window.trigger("FileExport"); }, [&](ExportForm& dialog) {
            rows << rowStates(dialog, kExportRows, window);
            click(dialog, "chkNetscape");
            dialog.pickDirectory = [&](const QString&) { return path(out); };
            dialog.pickFile = [&](const QString&, const QStringList& filters) {
                return path(out / (filters.value(0).contains(QStringLiteral("*.adr")) ? "list.adr" : "page.html"));
            };
            for (const char* picker : {"sbIEFav", "sbNetscapeFile", "sbOperaFile"})
                click(dialog, picker);
            click(dialog, "btnOk");
        }));
        QVERIFY(answerDialog<GenHtmlForm>([&] { window.trigger("FileGenHtml"); }, [&](GenHtmlForm& dialog) {
            dialog.setColourChooser([](QWidget&, const QColor&) { return std::optional(QColor(0x12, 0x34, 0x56)); });
            dialog.setFileChooser([&](QWidget&, const QString&) { return path(out / "links.html"); });
            control<QLineEdit>(dialog, "edTitle")->setText(QStringLiteral("Café <links>"));
            click(dialog, "stHeaderArea");
            click(dialog, "btnOk");
        }));
        // A blank favorites directory shows the user's own Favorites folder.
        QCOMPARE(rows, QStringList({"[x] ~/Favorites, editable", "[x] ~/bookmarks.html, editable",
                                    "[ ] ~/opera6.adr, read-only", "[ ] ~/bookmarks.xbel, read-only",
                                    "[ ] ~/Favorites, read-only", "[x] ~/bookmarks.html, editable",
                                    "[x] ~/opera6.adr, editable", "[ ] ~/bookmarks.xbel, read-only",
                                    "[x] ~/Favorites, read-only", "[ ] ~/out/in.html, read-only",
                                    "[x] ~/opera6.adr, read-only", "[ ] ~/bookmarks.xbel, read-only"}));
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(window.tilde(QString::fromStdString(prefs.IEFavoritesDir + " " + prefs.NetscapeFile + " "
                                                     + prefs.OperaFile + " " + prefs.HtmlFile)),
                 QStringLiteral("~/out ~/out/page.html ~/out/list.adr ~/out/links.html"));
        QCOMPARE(QString::fromStdString(prefs.HtmlTitle), QStringLiteral("Café <links>"));
        QCOMPARE(prefs.HtmlHeaderAreaColor, 0x563412);
        QCOMPARE(treeLines(*window.folderModel()).mid(7), QStringList({"Netscape", "  News"}));
        // The import ends with its summary over the window.
        QCOMPARE(summary.shown, QStringList({"Velloria: Netscape: 1 folder and 1 link imported\n"
                                             "1 entry skipped: cut off at the end of the file"}));
        QVERIFY(readFile(out / "page.html").find(">Daily</A>") != std::string::npos);
        QVERIFY(readFile(out / "list.adr").starts_with("Opera Hotlist version 2.0\r\n"));
        QVERIFY(std::filesystem::exists(out / "Velloria/Work/Mail.url"));
        QVERIFY(readFile(out / "links.html").find("<th bgcolor=\"#123456\"") != std::string::npos);
    }

    // The page of browsers lists each profile found with its links; OK imports the ticked ones,
    // and the dialog opens on that page with them ticked next time.
    void theBrowsersPageImportsTheTickedProfiles()
    {
        SampleWindow window;
        QVERIFY(window.start());
        const std::filesystem::path user = window.home.path() / "user";
        writeBytes(user / ".config/chromium/Default/Bookmarks",
                   "{\"roots\": {\"bookmark_bar\": {\"name\": \"Bar\", \"type\": \"folder\", \"children\": ["
                   "{\"type\": \"url\", \"name\": \"Mail\", \"url\": \"https://mail.example/\"}, "
                   "{\"type\": \"url\", \"name\": \"News\", \"url\": \"https://news.example/\"}]}}}");
        writeBytes(user / ".mozilla/firefox/profiles.ini", "[Profile0]\nName=broken\nIsRelative=1\nPath=x\n");
        writeBytes(user / ".mozilla/firefox/x/places.sqlite", "not a database");
        const UserDirectories directories(user);
        QStringList shown;
        const ModalAnswerer<QMessageBox> summary;
        const auto listed = [&](ImportForm& dialog) {
            const auto* list = control<QTreeWidget>(dialog, "lvProfiles");
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = list->topLevelItem(i);
                shown << QStringLiteral("%1 | %2 | %3 | %4%5")
                             .arg(item->text(0), item->text(1), item->text(2), window.tilde(item->text(3)),
                                  !(item->flags() & Qt::ItemIsEnabled)  ? ", disabled"
                                  : item->checkState(0) == Qt::Checked ? ", ticked"
                                                                        : "");
            }
            shown << QStringLiteral("OK %1").arg(control<QPushButton>(dialog, "btnOk")->isEnabled() ? "on" : "off");
        };
        QVERIFY(answerDialog<ImportForm>([&] { window.trigger("FileImport"); }, [&](ImportForm& dialog) {
            auto* pages = control<QTabWidget>(dialog, "pgcImport");
            shown << pages->tabText(0) << pages->tabText(1);
            pages->setCurrentIndex(1);
            listed(dialog);
            control<QTreeWidget>(dialog, "lvProfiles")->topLevelItem(1)->setCheckState(0, Qt::Checked);
            listed(dialog);
            click(dialog, "btnOk");
        }));
        QVERIFY(answerDialog<ImportForm>([&] { window.trigger("FileImport"); }, [&](ImportForm& dialog) {
            listed(dialog);
            click(dialog, "btnCancel");
        }));
        QCOMPARE(shown, QStringList({"From files", "From a browser on this computer",
                                     "Firefox | broken | cannot be read | ~/user/.mozilla/firefox/x, disabled",
                                     "Chromium | Default | 2 | ~/user/.config/chromium/Default", "OK off",
                                     "Firefox | broken | cannot be read | ~/user/.mozilla/firefox/x, disabled",
                                     "Chromium | Default | 2 | ~/user/.config/chromium/Default, ticked", "OK on",
                                     "Firefox | broken | cannot be read | ~/user/.mozilla/firefox/x, disabled",
                                     "Chromium | Default | 2 | ~/user/.config/chromium/Default, ticked", "OK on"}));
        QCOMPARE(treeLines(*window.folderModel()).mid(7), QStringList({"Chromium (Default)", "  Bar"}));
        QCOMPARE(summary.shown, QStringList({"Velloria: Chromium (Default): 1 folder and 2 links imported"}));
    }

    void aLongExchangeShowsItsProgressAndCancelStopsIt()
    {
        QWidget owner;
        ExchangeProgress progress(owner, QStringLiteral("Exporting"), QStringLiteral("Cancel"), {0, 0});
        const ProgressFunction report = progress.function();
        report(1, 2);
        QVERIFY(progress.dialog() && progress.dialog()->isVisible());
        QTest::mouseClick(progress.dialog()->findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY_THROWS_EXCEPTION(OperationCancelled, report(2, 2));
    }

    void aLanguageEditedAndChosenReachesTheDialogTheWindowAndTheFile()
    {
        SampleWindow window;
        prepareHome(window.home.path()); // the shipped languages
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        window.form.answer = Answer::Yes; // to saving the edited language
        const std::filesystem::path german = window.home.path() / "Languages/German.lng";
        const std::string shipped = readFile(german);
        QStringList shown;
        const auto open = [&] { window.trigger("ToolsPreferences"); };
        QVERIFY(answerDialog<PreferencesForm>(open, [&](PreferencesForm& dialog) {
            auto* languages = control<QComboBox>(dialog, "cmbLanguages");
            for (int i = 0; i < languages->count(); ++i)
                shown << languages->itemText(i) + (i == languages->currentIndex() ? " *" : "");
            auto* pages = control<QTabWidget>(dialog, "pgcPreferences");
            pages->setCurrentIndex(1);
            QTest::keyClick(languages, Qt::Key_Down);
            auto* editor = control<QPlainTextEdit>(dialog, "memLangEdit");
            shown << editor->toPlainText().section(u'\n', 0, 1);
            click(dialog, "btnEditLanguage");
            QVERIFY(!editor->isReadOnly());
            editor->moveCursor(QTextCursor::End);
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, "343 Minuten");
            click(dialog, "btnSave");
            click(dialog, "btnApply");
            shown << dialog.windowTitle() + ", " + pages->tabText(0) + ", " + pages->tabText(1) + ", "
                         + control<QLabel>(dialog, "lblMins")->text();
            click(dialog, "btnOK");
        }));
        QCOMPARE(shown, QStringList({"English (standard) *", "Deutsch (German.lng)", "Français (French.lng)",
                                     "/// Velloria language file: Deutsch\n000 1.0",
                                     "Einstellungen, Allgemein, Sprache, Minuten"}));
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QCOMPARE(readFile(german), shipped + "343 Minuten\r\n");
        QCOMPARE(window.action("ToolsPreferences")->text(), QStringLiteral("&Einstellungen..."));
        QCOMPARE(headerCaptions(*window.linkModel()).value(0), QStringLiteral("Titel +"));
        QVERIFY(preferencesHold(window.home, "014 " + german.string()));
    }

    void theMenusAndBarsHoldTheCommandsInTheirOrder()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QStringList menus;
        for (const QAction* menu : window.form.menuBar()->actions())
            menus << menu->text() + ": " + actionTexts(menu->menu()->actions());
        QCOMPARE(menus.mid(0, 4),
                 QStringList({"&File: &Save, -, &Import..., &Export..., -, &Generate HTML File..., -, E&xit",
                              "&Edit: &Undo, -, Add F&older..., Add &Bookmark..., -, &Edit Item..., -, &Move Item Up, "
                              "Mo&ve Item Down, -, Cu&t, &Copy, &Paste, -, &Delete, -, &Find..., F&ind Again",
                              "&View: T&oolbar, &Status Bar, -, &Expand all Folders, &Collapse all Folders, -, "
                              "Sort by &Title, Sort by &Address, Sort by Last &Visit, Sort by Add &Date, &Unsorted, -, "
                              "&Reversed Order",
                              "&Tools: &Go, Go in New &Window, -, Find &Duplicates..., Check &Links..., S&tatistics..., &Preferences..."}));
        QCOMPARE(menus.value(4), QStringLiteral("&Help: &Help, -, &H&ome Page, &Feedback, -, &About..."));
        QCOMPARE(actionTexts(window.form.findChild<QToolBar*>(QStringLiteral("MainToolBar"))->actions()),
                 QStringLiteral("&Save, -, Add F&older..., Add &Bookmark..., &Edit Item..., &Delete, &Undo, -, "
                                "&Move Item Up, Mo&ve Item Down, -, &Go, Go in New &Window, -, S&tatistics..., "
                                "&Preferences..., -, &Help"));
        QCOMPARE(actionTexts(window.form.findChild<QMenu*>(QStringLiteral("ContextMenu"))->actions()),
                 QStringLiteral("&Go, Go in New &Window, -, &Move Item Up, Mo&ve Item Down, -, Add F&older..., "
                                "Add &Bookmark..., &Edit Item..., -, Cu&t, &Copy, &Paste, -, &Delete"));
    }

    // Work shown unsorted (Velloria home, Mail, Wiki) with Mail selected; deleting asks nothing.
    void eachShortcutDoesItsCommand_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("changes");
        const QString moved = QStringLiteral("save on, paste off, backup differs");
        const QString visited = QStringLiteral("save off, paste off, backup differs"); // a visit is no edit
        QTest::newRow("save") << "list" << "Ctrl+Down, Ctrl+S" << QStringList{"rows: Velloria home, Wiki, Mail*"};
        QTest::newRow("new link") << "list" << "Ins" << QStringList{"dialogs: Add New Item [rdbURL] ''"};
        QTest::newRow("new folder") << "tree" << "Ctrl+Ins" << QStringList{"dialogs: Add New Item [rdbFolder] ''"};
        QTest::newRow("edit link") << "list" << "F2" << QStringList{"dialogs: Edit Item 'Mail'"};
        QTest::newRow("edit folder") << "tree" << "F2" << QStringList{"dialogs: Edit Item 'Work'"};
        QTest::newRow("delete") << "list" << "Del" << QStringList{"rows: Velloria home, Wiki*", moved};
        QTest::newRow("undo") << "list" << "Del, Ctrl+Z" << QStringList{"rows: Velloria home, Wiki, Mail*", moved};
        QTest::newRow("move up") << "list" << "Ctrl+Up" << QStringList{"rows: Mail*, Velloria home, Wiki", moved};
        QTest::newRow("move down") << "list" << "Ctrl+Down" << QStringList{"rows: Velloria home, Wiki, Mail*", moved};
        QTest::newRow("cut") << "list" << "Ctrl+X"
                             << QStringList{"rows: Velloria home, Wiki*", "save on, paste on, backup differs"};
        QTest::newRow("copy") << "list" << "Ctrl+C" << QStringList{"save off, paste on, backup same"};
        QTest::newRow("paste") << "list" << "Ctrl+X, Ctrl+V"
                               << QStringList{"rows: Velloria home, Wiki, Mail*", "save on, paste on, backup differs"};
        QTest::newRow("find") << "list" << "Ctrl+F" << QStringList{"dialogs: Find"};
        QTest::newRow("help") << "tree" << "F1" << QStringList{"opened: file://~/velloria-help.html"};
        QTest::newRow("expand all") << "tree" << "Ctrl+F5" << QStringList{"expanded: Main, Work, Work/Projects"};
        QTest::newRow("collapse all") << "tree" << "Ctrl+F6" << QStringList{"rows: ", "expanded: "}; // Main chosen
        QTest::newRow("go") << "list" << "Ctrl+Return" << QStringList{"opened: https://mail.example/", visited};
        const QString newWindow = QStringLiteral("opened: new window: about:blank; https://mail.example/");
        QTest::newRow("go in new window") << "list" << "Return" << QStringList{newWindow, visited};
        QTest::newRow("keypad Enter") << "list" << "Num+Enter" << QStringList{newWindow, visited};
        QTest::newRow("go from the tree") << "tree" << "Return" << QStringList{newWindow, visited};
    }

    void eachShortcutDoesItsCommand()
    {
        QFETCH(QString, pane);
        QFETCH(QString, keys);
        SampleWindow window([](TPreferences& prefs) {
            prefs.SortMode = static_cast<int>(SortMode::Unsorted);
            prefs.ConfirmDeleting = false;
        });
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        window.linkView()->setFocus();
        window.model.list().selectRows({1}, 1);
        if (pane == "tree")
            window.folderView()->setFocus();
        QWidget* focused = QApplication::focusWidget();
        QCOMPARE(focused, pane == "tree" ? static_cast<QWidget*>(window.folderView()) : window.linkView());

        const QStringList before = windowState(window, {});
        QStringList described;
        const ModalAnswerer<> dialogs([&](QDialog& dialog) { described << describeDialog(dialog); });
        QTest::keySequence(focused, QKeySequence(keys));
        const QStringList after = windowState(window, described);
        QStringList changes;
        for (qsizetype i = 0; i < after.size(); ++i)
            if (after[i] != before[i])
                changes << after[i];
        QTEST(changes, "changes");
    }

    // Each edit reaches the Qt models as the rows it inserts, removes, moves or changes; only a
    // change of the shown folder resets the list, and nothing here resets the tree. After each,
    // the Qt models hold the core's rows and the views show the model's selection.
    void theModelsShowTheLibraryAndEditsReachThemAsPreciseChanges()
    {
        SampleWindow window;
        const QAbstractItemModelTester treeTester(window.folderModel(), kReportToQtTest);
        const QAbstractItemModelTester listTester(window.linkModel(), kReportToQtTest);
        QVERIFY(window.start());
        QCOMPARE(treeLines(*window.folderModel()),
                 QStringList({"Main", "  Recipes", "  Café", "Work", "  Projects", "    Velloria", "  Archive"}));
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title +", "Address", "Last Visit", "Add Date"}));
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1"}));
        MainWindowModel& model = window.model;
        int listResets = 0;
        int treeResets = 0;
        connect(window.linkModel(), &QAbstractItemModel::modelReset, this, [&] { ++listResets; });
        connect(window.folderModel(), &QAbstractItemModel::modelReset, this, [&] { ++treeResets; });
        const auto folder = [&](const char* name) { return model.library().folderTree().findExact(name); };
        const auto rows = [&](std::vector<std::size_t> selected, std::size_t focused) {
            model.list().lvReferencesEnter();
            model.list().selectRows(std::move(selected), focused);
        };
        const bool showsAnotherFolder = true;
        const std::vector<std::tuple<const char*, std::function<void()>, bool>> edits = {
            {"show Work, sorted by title", [&] { model.tree().selectFolder(folder("Work")); }, showsAnotherFolder},
            {"add a link that sorts first", [&] { model.editing().addLink("Blog", "https://blog.example/", "A blog"); },
             false},
            {"retitle the last link to sort first",
             [&] { rows({3}, 3), model.editing().editLink("Atlas", "https://atlas.example/", ""); }, false},
            {"cut two links", [&] { rows({1, 2}, 2), model.clipboard().EditCutExecute(); }, false},
            {"paste them back, each to its place", [&] { model.clipboard().EditPasteExecute(); }, false},
            {"delete two links apart", [&] { rows({0, 2}, 0), model.deleting().deleteSelectedLinks(); }, false},
            {"move a link up, unsorted",
             [&] { model.execute(Command::ViewUnsorted), rows({3}, 3), model.reordering().EditMoveUpExecute(); },
             false},
            {"add a folder in Work", [&] { model.editing().addFolderIn(folder("Work"), "Reading", ""); },
             showsAnotherFolder},
            {"drop Projects onto Main",
             [&] { model.reordering().trvFoldersDragDrop(folder("Projects"), folder("Main")); }, showsAnotherFolder},
            {"delete Projects with its subfolder",
             [&] { model.tree().selectFolder(folder("Projects")), model.deleting().deleteSelectedFolder(); },
             showsAnotherFolder},
            {"undo the folder deletion", [&] { model.deleting().RestoreUndoState(); }, showsAnotherFolder},
        };
        for (const auto& [name, edit, anotherFolder] : edits) {
            listResets = treeResets = 0;
            edit();
            QCoreApplication::processEvents();
            const QStringList shown = viewState(window);
            QVERIFY2(shown == coreState(model), qPrintable(name + (": " + shown.join(" ; "))));
            QVERIFY2(treeResets == 0, name);
            QVERIFY2(anotherFolder || listResets == 0, name);
        }
        // The edits did what their names say; an added or undone folder comes last under its parent.
        QCOMPARE(treeLines(*window.folderModel()), QStringList({"Main", "  Recipes", "  Café", "  Projects",
                                                                "    Velloria", "Work", "  Archive", "  Reading"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Velloria"));
    }

    // A right click in the tree chooses the folder under the pointer, a clicked row is the
    // model's selection, and the description pane follows the focused pane.
    void thePanesFollowTheUsersClicksAndFocus()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        const QRect work = window.folderView()->visualRect(window.folderItem("Work"));
        QTest::mousePress(window.folderView()->viewport(), Qt::RightButton, {}, work.center());
        QCOMPARE(window.model.tree().selectedFolder(), std::size_t{3});
        QCOMPARE(window.statusPanel(0), QStringLiteral("Work"));
        QTest::mouseRelease(window.folderView()->viewport(), Qt::RightButton, {}, work.center());

        window.linkView()->setFocus();
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, rowCentre(*window.linkView(), 2));
        QCOMPARE(window.model.selection().selectedRows(), std::vector<std::size_t>{2});
        QCOMPARE(window.description(), QStringLiteral("Description: Team notes"));
        QCOMPARE(window.statusPanel(1), QStringLiteral("Wiki"));
        window.folderView()->setFocus();
        QCOMPARE(window.description(), QStringLiteral("Description: Things for the office"));
    }

    void aHeaderClickSortsTheListAndADoubleClickOpensALink()
    {
        SampleWindow window;
        QVERIFY(window.start());
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        clickHeader(*window.linkView(), 0); // the sorted column again: the other way round
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title -", "Address", "Last Visit", "Add Date"}));
        clickHeader(*window.linkView(), 3);
        QCOMPARE(headerCaptions(*window.linkModel()), QStringList({"Title", "Address", "Last Visit", "Add Date +"}));
        QCOMPARE(window.linkModel()->index(2, 0).data().toString(), QStringLiteral("Velloria home"));

        const QPoint wiki = rowCentre(*window.linkView(), 0);
        QTest::mouseClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QTest::mouseDClick(window.linkView()->viewport(), Qt::LeftButton, {}, wiki);
        QCOMPARE(window.opened(), QStringLiteral("new window: about:blank; https://wiki.example/"));
    }

    // A match is marked by its characters, counted in UTF-16 units; no match is a one-button warning.
    void aMatchIsMarkedInTheDescriptionAndNoMatchIsAWarning()
    {
        SampleWindow window;
        const std::string tea = "Tea \xF0\x9F\x8D\xB5 and cr\xC3\xA8me";
        window.home.write("Links/Recipes.wnl", linkFile({{tea, "https://tea.example/"}}));
        QVERIFY(window.start());
        QVERIFY(window.model.search().Find("And Cr\xC3\xA8me"));
        const auto* pane = window.form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"));
        const QList<QTextEdit::ExtraSelection> marks = pane->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("and crème"));
        QCOMPARE(marks[0].cursor.anchor(), 14);

        QString buttons;
        const ModalAnswerer<QMessageBox> answerer([&](QMessageBox& box) {
            buttons = box.buttons().value(0)->text() + (box.icon() == QMessageBox::Warning ? " !" : " ?");
        });
        QVERIFY(!window.model.search().Find("zebra"));
        QCOMPARE(answerer.shown, QStringList({"Velloria: Search text is not found"}));
        QCOMPARE(buttons, QStringLiteral("OK !"));
    }

    void aLoadingErrorAppearsOverWhatWasRead()
    {
        SampleWindow window;
        window.home.write("Links/Caf\xE9.wnl", crlf({"0 Caf\xE9 Central", "x broken"}));
        QString underneath;
        const ModalAnswerer<QMessageBox> answerer([&](QMessageBox&) {
            underneath = QStringLiteral("%1 folders, shown %2")
                             .arg(window.folderModel()->rowCount())
                             .arg(window.form.isVisible() ? "yes" : "no");
        });
        QVERIFY(window.start());
        QCOMPARE(answerer.shown, QStringList({"Velloria: 'x' is not a valid integer value"}));
        QCOMPARE(underneath, QStringLiteral("2 folders, shown yes"));
        QCOMPARE(window.linkModel()->index(0, 0).data().toString(), QStringLiteral("Café Central"));
    }

    void aFolderDroppedOntoAnotherBecomesItsFirstChild()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        window.folderView()->expand(window.folderItem("Work"));
        window.folderView()->expand(window.folderItem("Work/Projects"));
        QAbstractItemModel& folders = *window.folderModel();
        const std::unique_ptr<QMimeData> work(folders.mimeData({window.folderItem("Work")}));
        QMimeData foreign; // another program's drag, dressed as a folder
        foreign.setData(folders.mimeTypes().value(0), "4");
        QVERIFY(!dragOnto(window, *work, "Work"));
        QVERIFY(!dragOnto(window, *work, "Work/Projects/Velloria"));
        QVERIFY(!dragOnto(window, foreign, "Main"));

        const std::unique_ptr<QMimeData> archive(folders.mimeData({window.folderItem("Work/Archive")}));
        QVERIFY(dragOnto(window, *archive, "Main/Recipes"));
        QCOMPARE(treeLines(folders), QStringList({"Main", "  Recipes", "    Archive", "  Café", "Work", "  Projects",
                                                  "    Velloria"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Recipes"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main/Recipes")));
    }

    // Ctrl+L and a few letters: every match of the library with its folder, and the commands and
    // drags act on those rows; Escape: the folder's links again.
    void theFilterShowsEveryMatchAndItsRowsDropOntoFolders()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        auto* field = window.form.findChild<QLineEdit*>(QStringLiteral("edFilter"));
        auto* filtered = window.form.findChild<QTableView*>(QStringLiteral("lvFiltered"));
        QTest::keyClick(&window.form, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(field->hasFocus());
        QTest::keyClicks(field, QStringLiteral("CAFE"));
        QVERIFY(filtered->isVisible() && !window.linkView()->isVisible());
        QAbstractItemModelTester tester(filtered->model(), kReportToQtTest);
        QCOMPARE(headerCaptions(*filtered->model()), QStringList({"Title +", "Address", "Last Visit", "Add Date", "Folder"}));
        QCOMPARE(rowLines(*filtered->model()),
                 QStringList({"Café Central | https://cafe.example/ | 2024.2.3 | 2020.1.1 | Main / Café"}));
        QCOMPARE(window.statusPanel(3), QStringLiteral("Matches: 1"));

        field->clear();
        QTest::keyClicks(field, QStringLiteral("https"));
        QTest::keyClick(field, Qt::Key_Down); // to the rows found, the first selected
        QVERIFY(filtered->hasFocus());
        QCOMPARE(window.model.filter().selectedRows(), std::vector<std::size_t>{0});
        QTest::keyClick(filtered, Qt::Key_Return); // opens, as in a folder's list, and counts the visit
        QTest::mouseClick(filtered->viewport(), Qt::LeftButton, {}, rowCentre(*filtered, 1));
        QTest::mouseDClick(filtered->viewport(), Qt::LeftButton, {}, rowCentre(*filtered, 1));
        QCOMPARE(window.opened(), QStringLiteral("new window: about:blank; https://cafe.example/; "
                                                 "new window: about:blank; https://mail.example/"));
        const auto selectRows = [&](std::initializer_list<int> rows) {
            QItemSelection selection;
            for (const int row : rows)
                selection.select(filtered->model()->index(row, 0), filtered->model()->index(row, 4));
            filtered->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        };
        const std::unique_ptr<QMimeData> links(filtered->model()->mimeData({filtered->model()->index(0, 0)}));
        selectRows({0, 1}); // Café Central of Café, Mail of Work: copied with Ctrl
        QVERIFY(dragOnto(window, *links, "Main/Recipes", Qt::ControlModifier));
        QCOMPARE(rowLines(*filtered->model()).mid(0, 4),
                 QStringList({"Café Central | https://cafe.example/ | 2024.6.1 | 2020.1.1 | Main / Recipes",
                              "Café Central | https://cafe.example/ | 2024.6.1 | 2020.1.1 | Main / Café",
                              "Mail | https://mail.example/ | 2024.6.1 | 2022.7.8 | Main / Recipes",
                              "Mail | https://mail.example/ | 2024.6.1 | 2022.7.8 | Work"}));
        QCOMPARE(window.model.filter().selectedRows(), (std::vector<std::size_t>{0, 2}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Recipes"));
        QVERIFY(!dragOnto(window, *links, "Main/Recipes")); // where they are now
        selectRows({3}); // Mail of Work, moved: its title is taken there
        QVERIFY(dragOnto(window, *links, "Main/Recipes"));
        QCOMPARE(linkLines(window.home.read("Links/Recipes.wnl")),
                 std::vector<std::string>({"Caf\xE9 Central https://cafe.example/", "Mail https://mail.example/",
                                           "Mail_1 https://mail.example/"}));
        QCOMPARE(linkLines(window.home.read("Links/Work.wnl")),
                 std::vector<std::string>({"Velloria home https://velloria.example/", "Wiki https://wiki.example/"}));

        field->setFocus();
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(field->text().isEmpty());
        QVERIFY(window.linkView()->isVisible() && !filtered->isVisible());
        QCOMPARE(window.statusPanel(3), QStringLiteral("Bookmarks: 3")); // Recipes, where the links went
    }

    void theRememberedLayoutIsAppliedAndWrittenBack()
    {
        SampleWindow window;
        QVERIFY(window.start());
        QVERIFY(showActive(window.form));
        QCOMPARE(window.form.geometry(), QRect(40, 30, 760, 520));
        const QHeaderView* header = window.linkView()->horizontalHeader();
        QCOMPARE(QList<int>({header->sectionSize(0), header->sectionSize(1), header->sectionSize(2),
                             header->sectionSize(3)}),
                 QList<int>({150, 260, 90, 90}));
        QCOMPARE(splitter(window, "splMain")->sizes().value(0), 210);
        QCOMPARE(splitter(window, "splList")->sizes().value(1), 80);

        window.linkView()->horizontalHeader()->resizeSection(1, 333);
        splitter(window, "splMain")->setSizes({250, 510});
        window.form.resize(700, 500);
        QTRY_COMPARE(window.form.width(), 700);
        QVERIFY(window.form.close());
        for (const char* line : {"024 40", "025 30", "026 500", "027 700", "028 False", "031 150", "032 333",
                                 "033 90", "034 90", "035 250", "036 80"})
            QVERIFY2(preferencesHold(window.home, line), line);
    }

    // Bounds off every screen are centred, a maximized window keeps its normal bounds, and the
    // auto-save timer runs on the remembered interval only when the preferences ask for it.
    void theStartBoundsAndTheAutoSaveTimerFollowThePreferences()
    {
        SampleWindow away([](TPreferences& prefs) { prefs.MainLeft = -5000; });
        QVERIFY(away.start());
        QVERIFY(!away.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->isActive());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(away.form.geometry().center(), area.center());
        QCOMPARE(away.form.size(), QSize(760, 520).boundedTo(area.size()));

        SampleWindow window([](TPreferences& prefs) {
            prefs.MainMaximized = prefs.AutoSave = true;
            prefs.SaveInterval = 3;
        });
        QVERIFY(window.start());
        QCOMPARE(window.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->interval(), 3 * 60000);
        QVERIFY(window.form.findChild<QTimer*>(QStringLiteral("MainTimer"))->isActive());
        QVERIFY(showActive(window.form));
        QTRY_VERIFY(window.form.isMaximized());
        QCOMPARE(window.form.normalGeometry(), QRect(40, 30, 760, 520));
        QVERIFY(window.form.close());
        for (const char* line : {"024 40", "025 30", "026 520", "027 760", "028 True"})
            QVERIFY2(preferencesHold(window.home, line), line);
    }

    // Offscreen there is no tray: the program runs as usual, and minimizing only minimizes.
    void theIconComesWithATrayWhenThePreferencesAskForIt()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        const Adjust minimized = [](TPreferences& prefs) { prefs.Minimized = true; };
        SampleWindow noTray(minimized), with(minimized);
        SampleWindow unwanted([](TPreferences& prefs) { prefs.CreateTrayIcon = false; });
        QVERIFY(startWindow(noTray, false) && startWindow(unwanted, true) && startWindow(with, true));
        QVERIFY(with.form.isVisible()); // first shown, a moment later put away
        QVERIFY(!noTray.form.findChild<QSystemTrayIcon*>() && !unwanted.form.findChild<QSystemTrayIcon*>());
        QTRY_VERIFY(noTray.form.isMinimized());
        QVERIFY(noTray.form.isVisible());
        const QSystemTrayIcon& icon = with.form.trayIcon()->icon();
        QVERIFY(icon.isVisible() && !icon.icon().isNull());
        QTRY_VERIFY(!with.form.isVisible());
    }

    void aLeftClickShowsOrHidesTheWindowAndMinimizingHidesIt()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.MainMaximized = true; });
        QVERIFY(startWindow(window, true));
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(!window.form.isVisible());
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible());
        window.form.setWindowState(window.form.windowState() | Qt::WindowMinimized);
        QTRY_VERIFY(!window.form.isVisible());
        clickIcon(window, QSystemTrayIcon::Trigger);
        QVERIFY(window.form.isVisible() && !window.form.isMinimized());
        QVERIFY(window.form.isMaximized()); // it comes back as it was
    }

    // The icon does nothing while a dialog is open; Add to Folder opens the new link dialog, and
    // Exit shows the window before asking to save.
    void theMenuEntriesWorkWhenNoDialogIsOpen()
    {
        SampleWindow window;
        QVERIFY(startWindow(window, true));
        QMenu& menu = window.form.trayIcon()->menu();
        QApplication::clipboard()->setText(QStringLiteral("https://clip.example/page\n"));
        QStringList shown;
        const auto choose = [&] {
            menuEntry(menu, {"Add to Folder", "Work", "Projects", "<<Projects>>"})->trigger();
            menu.close();
        };
        QVERIFY(answerDialog<NewItemForm>(choose, [&](NewItemForm& dialog) {
            clickIcon(window, QSystemTrayIcon::Trigger);
            clickIcon(window, QSystemTrayIcon::Context);
            shown << control<QLineEdit>(dialog, "edAddress")->text()
                  << QStringLiteral("shown %1, menu %2")
                         .arg(window.form.isVisible() ? "yes" : "no", menu.isVisible() ? "yes" : "no");
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Clip"));
            click(dialog, "btnOK");
        }));
        QCOMPARE(shown, QStringList({"https://clip.example/page", "shown yes, menu no"}));
        QVERIFY(window.home.read("Links/Projects.wnl").starts_with("0 Clip\r\n1 https://clip.example/page\r\n"));
        clickIcon(window, QSystemTrayIcon::Context);
        QVERIFY(menu.isVisible());
        menu.close();
        clickIcon(window, QSystemTrayIcon::Trigger);
        QAction* exit = menu.findChild<QAction*>(QStringLiteral("trayExit"));
        exit->trigger();
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QVERIFY(window.form.isVisible()); // shown for the question, and kept open by Cancel
        window.form.answer = Answer::Yes;
        exit->trigger();
        QVERIFY(!window.form.isVisible() && !window.model.lifecycle().libraryModified());
    }

    void aSecondCopyShowsTheFirstCopysWindow()
    {
        TempHome home;
        SingleInstance first(home.path());
        QCOMPARE(first.start(), SingleInstance::Start::Run);
        QWidget window;
        // Put away in the notification area: hidden, still minimized, maximized before.
        window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
        first.showOnRequest(&window);

        SingleInstance second(home.path());
        QCOMPARE(second.start(), SingleInstance::Start::HandedOver);
        QTRY_VERIFY(window.isVisible());
        QCOMPARE(window.windowState() & ~Qt::WindowActive, Qt::WindowMaximized);
    }

    void aLockWithoutAWindowIsNoHandover()
    {
        TempHome home;
        InstanceLock commandLineTool(InstanceLock::lockFileFor(home.path()));
        QCOMPARE(commandLineTool.tryAcquire(), InstanceLock::Result::Acquired);
        QCOMPARE(SingleInstance(home.path()).start(), SingleInstance::Start::NoAnswer);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::unique_ptr<QObject> watchdog = unexpectedDialogWatchdog();
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowTest.moc"
