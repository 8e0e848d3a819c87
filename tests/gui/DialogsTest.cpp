// The dialogs of the main window driven with the mouse and the keys, and the captions each takes
// from the language in use (a caption the language file leaves out shows in English).

#include "GuiTest.h"
#include "gui/DelMesForm.h"
#include "gui/ExportForm.h"
#include "gui/GenHtmlForm.h"
#include "gui/ImportForm.h"
#include "gui/NewItemForm.h"
#include "gui/PreferencesForm.h"
#include "platform/FileIO.h"
#include "settings/HomeSetup.h"
#include "support/LibraryFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

using namespace velloria;
using namespace velloria::test;

namespace {

using Rows = std::array<std::array<const char*, 2>, 3>; // check box, location
constexpr Rows kImportRows{
    {{"chkImportIE", "edIEDirectory"}, {"chkNetscape", "edNetscapeFile"}, {"chkOpera", "edOperaFile"}}};
constexpr Rows kExportRows{{{"chkIE", "edIEFile"}, {"chkNetscape", "edNetscapeFile"}, {"chkOpera", "edOperaFile"}}};

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

class DialogsTest : public QObject {
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
        QTest::newRow("HTML") << "FileGenHtml"
            << "HTML-Einstellungen (fixed size): btnCancel: Abbrechen, btnOk: Gut, chkGenSelFold: Generate from "
               "selected folder only, grbColorScheme: Farben, grbTextInfo: Texte, lblBackground: Background:, "
               "lblBookmarkArea1: Bookmark Area 1:, lblBookmarkArea2: Bookmark Area 2:, lblHeaderArea: Header Area:, "
               "lblHeaderMessage: Welcome Header:, lblText: Schrift:, lblTitle: Titel:, lblWelcomeArea: "
               "Willkommensbereich:, lblWelcomeMessage: Welcome Message:";
        QTest::newRow("import") << "FileImport"
            << "Importieren (fixed size): btnCancel: Abbrechen, btnOk: Gut, chkImportIE: IE-Favoriten, chkNetscape: "
               "Netscape-Lesezeichen, chkOpera: Opera-Hotlist, grbIE: Aus IE, grbNetscape: Aus Netscape, grbOpera: "
               "Aus Opera, lblIEDirectory: Verzeichnis:, lblNetscapeFile: Datei:, lblOperaFile: Datei:, "
               "sbIEDirectory: ..., sbNetscapeFile: ..., sbOperaFile: ...";
        QTest::newRow("export") << "FileExport"
            << "Exportieren (fixed size): btnCancel: Abbrechen, btnOk: Gut, chkIE: Exportieren, chkNetscape: "
               "Exportieren, chkOpera: Exportieren, grbIE: Nach IE, grbNetscape: Nach Netscape, grbOpera: Nach Opera, "
               "lblIE: Verzeichnis:, lblNescape: Datei:, lblOpera: Datei:, sbIEFav: ..., sbNetscapeFile: ..., "
               "sbOperaFile: ...";
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
                                "323 Lesezeichen", "325 Allgemein", "332 Ordner:", "334 Lesezeichen:", "344 Farben",
                                "347 Willkommensbereich:", "351 Schrift:", "362 Art", "367 Statistik",
                                "388 Importieren", "389 Aus IE", "390 IE-Favoriten", "391 Verzeichnis:",
                                "392 Aus Netscape", "393 Netscape-Lesezeichen", "394 Datei:", "395 Aus Opera",
                                "396 Opera-Hotlist", "397 Exportieren", "398 Nach IE", "399 Nach Netscape",
                                "400 Nach Opera", "419 \xC3\x9C" "ber Velloria", "423 Ein Lesezeichen-Manager"}));
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

    void eachDialogHandsItsChoicesToTheModel()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.ImportOpera = prefs.ExportNetscape = false; });
        QVERIFY(window.start());
        const std::filesystem::path out = window.home.path() / "out";
        writeBytes(out / "in.html", crlf({"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "<DT><H3>News</H3>",
                                          "<DL><p>", "<DT><A HREF=\"https://news.example/\">Daily</A>", "</DL><p>"}));
        QStringList rows;
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
                                    "[ ] ~/opera6.adr, read-only", "[ ] ~/Favorites, read-only",
                                    "[x] ~/bookmarks.html, editable", "[x] ~/opera6.adr, editable",
                                    "[x] ~/Favorites, read-only", "[ ] ~/out/in.html, read-only",
                                    "[x] ~/opera6.adr, read-only"}));
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(window.tilde(QString::fromStdString(prefs.IEFavoritesDir + " " + prefs.NetscapeFile + " "
                                                     + prefs.OperaFile + " " + prefs.HtmlFile)),
                 QStringLiteral("~/out ~/out/page.html ~/out/list.adr ~/out/links.html"));
        QCOMPARE(QString::fromStdString(prefs.HtmlTitle), QStringLiteral("Café <links>"));
        QCOMPARE(prefs.HtmlHeaderAreaColor, 0x563412);
        QCOMPARE(treeLines(*window.folderModel()).mid(7), QStringList({"Netscape", "  News"}));
        QVERIFY(readFile(out / "page.html").find(">Daily</A>") != std::string::npos);
        QVERIFY(readFile(out / "list.adr").starts_with("Opera Hotlist version 2.0\r\n"));
        QVERIFY(std::filesystem::exists(out / "Velloria/Work/Mail.url"));
        QVERIFY(readFile(out / "links.html").find("<th bgcolor=\"#123456\"") != std::string::npos);
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
};

} // namespace

VELLORIA_GUI_TEST(DialogsTest)
#include "DialogsTest.moc"
