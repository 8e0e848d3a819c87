// Every dialog of the main window takes its captions from the language in use; a caption the
// language file leaves out shows in English.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

using namespace velloria;
using namespace velloria::test;

namespace {

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

class CaptionsTest : public QObject {
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
        std::string language = crlf({"000 1.0", "001 Deutsch"});
        for (const char* entry : {"301 Titel:", "303 Adresse:", "307 \xC3\x9C" "ber", "308 HTML-Einstellungen", "309 Texte",
                            "310 L\xC3\xB6schen", "312 Abbrechen", "313 Gut", "314 Ja", "315 Nein",
                            "316 Wirklich l\xC3\xB6schen?", "317 Nicht mehr fragen", "318 Bearbeiten", "319 Suchen",
                            "320 Gesuchter Text:", "321 Neu", "322 Ordner", "323 Lesezeichen", "325 Allgemein",
                            "332 Ordner:", "334 Lesezeichen:", "344 Farben", "347 Willkommensbereich:",
                            "351 Schrift:", "362 Art", "367 Statistik", "388 Importieren", "389 Aus IE",
                            "390 IE-Favoriten", "391 Verzeichnis:", "392 Aus Netscape", "393 Netscape-Lesezeichen",
                            "394 Datei:", "395 Aus Opera", "396 Opera-Hotlist", "397 Exportieren", "398 Nach IE",
                            "399 Nach Netscape", "400 Nach Opera", "419 \xC3\x9C" "ber Velloria", "423 Ein Lesezeichen-Manager"})
            language += crlf({entry});
        window.home.write("Deutsch.lng", language);
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
};

} // namespace

VELLORIA_GUI_TEST(CaptionsTest)
#include "CaptionsTest.moc"
