// Import and Export: what the dialogs show from the preferences, how a check box opens or
// closes its row, the pickers, what OK imports or writes and stores, errors, Cancel, the
// captions of the language, and the progress dialog of a long exchange.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/AboutForm.h"
#include "gui/ExportForm.h"
#include "gui/GenHtmlForm.h"
#include "gui/ImportForm.h"
#include "platform/FileIO.h"
#include "support/LanguageFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>

using namespace velloria;
using namespace velloria::test;

namespace {

using Rows = std::array<std::array<const char*, 3>, 3>; // check box, edit, picker
constexpr Rows kImportRows{{{"chkImportIE", "edIEDirectory", "sbIEDirectory"},
                            {"chkNetscape", "edNetscapeFile", "sbNetscapeFile"},
                            {"chkOpera", "edOperaFile", "sbOperaFile"}}};
constexpr Rows kExportRows{{{"chkIE", "edIEFile", "sbIEFav"},
                            {"chkNetscape", "edNetscapeFile", "sbNetscapeFile"},
                            {"chkOpera", "edOperaFile", "sbOperaFile"}}};

// A bookmark file as browsers write it: a folder with a link, then a link at the top.
const std::string kBookmarkFile = crlf({"<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<DL><p>", "    <DT><H3>News</H3>",
                                        "    <DL><p>", "        <DT><A HREF=\"https://news.example/\">Daily News</A>",
                                        "    </DL><p>", "    <DT><A HREF=\"https://top.example/\">Top</A>", "</DL><p>"});

// Paths in the test's home written from "~".
QString tilde(QString text, const SampleWindow& window)
{
    return text.replace(QString::fromStdString(window.home.path().string()), QStringLiteral("~"));
}

// The rows as the user sees them: "[x] location, editable|read-only, picker on|off, background",
// the background "normal" (the window colour) or "face" (the button face).
QStringList rowStates(QWidget& dialog, const Rows& rows, const SampleWindow& window)
{
    const QPalette normal = QApplication::palette(control(dialog, rows[0][1]));
    QStringList states;
    for (const auto& [check, edit, picker] : rows) {
        const auto* field = control<QLineEdit>(dialog, edit);
        const QColor base = field->palette().color(QPalette::Base);
        states << QStringLiteral("[%1] %2, %3, picker %4, %5")
                      .arg(control<QCheckBox>(dialog, check)->isChecked() ? "x" : " ", tilde(field->text(), window),
                           field->isReadOnly() ? "read-only" : "editable",
                           control(dialog, picker)->isEnabled() ? "on" : "off",
                           base == normal.color(QPalette::Button) ? "face"
                           : base == normal.color(QPalette::Base) ? "normal"
                                                                  : "other");
    }
    return states;
}

void click(QWidget& dialog, const char* name)
{
    QTest::mouseClick(control(dialog, name), Qt::LeftButton);
}

template <typename Form> bool answer(SampleWindow& window, const std::function<void(Form&)>& how)
{
    const char* command = std::is_same_v<Form, ImportForm> ? "FileImport" : "FileExport";
    return answerDialog<Form>([&] { window.action(command)->trigger(); }, how);
}

QString boxes(bool ie, bool netscape, bool opera)
{
    return QStringLiteral("%1%2%3").arg(ie ? "x" : "-", netscape ? "x" : "-", opera ? "x" : "-");
}

// The label of the progress dialog that OK of the import or export dialog brings up; its Cancel
// stops the work at once.
template <typename Form> QString progressLabel(SampleWindow& window)
{
    QString label;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            label = progress->labelText();
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            canceller.stop();
        }
    });
    answer<Form>(window, [&](Form& dialog) {
        dialog.progressTiming = {0, 0};
        canceller.start(0);
        control<QPushButton>(dialog, "btnOk")->click();
    });
    return label;
}

class InterchangeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void importOpensWithThePreferencesAndTheBoxesOpenAndCloseTheirRows()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.ImportOpera = false; });
        window.start();
        QVERIFY(window.action("FileImport")->isEnabled() && window.action("FileExport")->isEnabled());
        QStringList opened, clicked;
        QVERIFY(!answer<ImportForm>(window, [&](ImportForm& dialog) {
            opened = rowStates(dialog, kImportRows, window);
            click(dialog, "chkImportIE");
            click(dialog, "chkOpera");
            clicked = rowStates(dialog, kImportRows, window);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Import Bookmarks"));
            QVERIFY(control<QPushButton>(dialog, "btnOk")->isDefault());
        }));
        // A blank favorites directory shows the user's own Favorites folder.
        QCOMPARE(opened, QStringList({"[x] ~/Favorites, editable, picker on, normal",
                                      "[x] ~/bookmarks.html, editable, picker on, normal",
                                      "[ ] ~/opera6.adr, read-only, picker off, face"}));
        QCOMPARE(clicked, QStringList({"[ ] ~/Favorites, read-only, picker off, face",
                                       "[x] ~/bookmarks.html, editable, picker on, normal",
                                       "[x] ~/opera6.adr, editable, picker on, normal"}));
    }

    void importAddsTheFileAsATopLevelFolderAndStoresTheChoiceButCancelStoresNothing()
    {
        SampleWindow window;
        window.start();
        const TPreferences before = window.model.prefs();
        const std::filesystem::path file = window.home.path() / "saved" / "bookmarks.html";
        std::filesystem::create_directories(file.parent_path());
        writeFileAtomically(file, kBookmarkFile);
        const auto choose = [&](ImportForm& dialog) {
            click(dialog, "chkImportIE");
            click(dialog, "chkOpera");
            control<QLineEdit>(dialog, "edNetscapeFile")->setText(QString::fromStdString(file.string()));
            control<QLineEdit>(dialog, "edOperaFile")->setText(QStringLiteral(" typed, not used "));
        };
        QVERIFY(answer<ImportForm>(window, [&](ImportForm& dialog) {
            choose(dialog);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }));
        QVERIFY(window.model.prefs() == before);
        QVERIFY(answer<ImportForm>(window, [&](ImportForm& dialog) {
            choose(dialog);
            click(dialog, "btnOk");
        }));
        QCOMPARE(treeLines(*window.folderModel()), QStringList({"Main", "  Recipes", "  Café", "Work", "  Projects",
                                                                "    Velloria", "  Archive", "Netscape", "  News"}));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Netscape"));
        QCOMPARE(rowLines(*window.linkModel()).value(0).section(QStringLiteral(" | "), 0, 1),
                 QStringLiteral("Top | https://top.example/"));
        QVERIFY(window.home.read("Links/News.wnl").starts_with("0 Daily News\r\n1 https://news.example/\r\n"));
        QVERIFY(window.action("FileSave")->isEnabled() && window.form.messages.isEmpty());
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(boxes(prefs.ImportIE, prefs.ImportNetscape, prefs.ImportOpera), QStringLiteral("-x-"));
        QCOMPARE(prefs.NetscapeFile, file.string());
        QCOMPARE(prefs.OperaFile, std::string(" typed, not used "));
    }

    void anErrorIsShownAndTheDialogStaysOpen()
    {
        SampleWindow window;
        window.start();
        std::filesystem::remove_all(window.home.links()); // no link file can be written
        window.home.write("Links", "not a directory");
        const MessageBoxAnswerer answerer;
        QVERIFY(!answer<ImportForm>(window, [&](ImportForm& dialog) {
            click(dialog, "btnOk");
            QVERIFY(dialog.isVisible());
        }));
        const QString error = answerer.boxes.value(0);
        QVERIFY2(answerer.boxes.size() == 1 && error.startsWith("Velloria: ") && error.contains("Links"),
                 qPrintable(error));
    }

    void cancelInTheProgressDialogClosesTheImportWithoutAMessage()
    {
        SampleWindow window;
        window.start();
        writeFileAtomically(window.home.path() / "bookmarks.html", kBookmarkFile);
        const MessageBoxAnswerer answerer;
        QString progressCaption;
        QTimer canceller; // presses Cancel as soon as the progress dialog is up
        connect(&canceller, &QTimer::timeout, [&] {
            if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
                progressCaption = progress->windowTitle() + ": " + progress->labelText();
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                canceller.stop();
            }
        });
        QVERIFY(answer<ImportForm>(window, [&](ImportForm& dialog) {
            click(dialog, "chkImportIE");
            click(dialog, "chkOpera");
            dialog.progressTiming = {0, 0};
            canceller.start(0);
            // A click that handles no events of its own: Cancel comes at the import's first report.
            control<QPushButton>(dialog, "btnOk")->click();
        }));
        QCOMPARE(progressCaption, QStringLiteral("Import Bookmarks: Importing bookmarks…"));
        QVERIFY(answerer.boxes.isEmpty() && window.form.messages.isEmpty());
        QVERIFY(!treeLines(*window.folderModel()).contains(QStringLiteral("  News")));
    }

    void thePickersStartAtTheLocationAndACancelledPickerChangesNothing()
    {
        SampleWindow window;
        window.start();
        QStringList asked, locations;
        QString shown;
        QVERIFY(!answer<ImportForm>(window, [&](ImportForm& dialog) {
            QString next = QStringLiteral("/media/old/Favorites");
            dialog.pickDirectory = [&](const QString& start) {
                asked << tilde(start, window);
                return std::exchange(next, {});
            };
            click(dialog, "sbIEDirectory");
            click(dialog, "sbIEDirectory"); // cancelled
            // The real file picker: in the location's directory, the file need not exist.
            QTimer::singleShot(0, &dialog, [&] {
                auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(picker && picker->acceptMode() == QFileDialog::AcceptOpen);
                shown = tilde(picker->directory().absolutePath() + " " + picker->selectedFiles().join(u',') + " "
                                  + picker->nameFilters().join(u'|'),
                              window);
                picker->selectFile(QStringLiteral("new.adr"));
                static_cast<QDialog*>(picker)->accept();
            });
            click(dialog, "sbOperaFile");
            for (const auto& row : kImportRows)
                locations << tilde(control<QLineEdit>(dialog, row[1])->text(), window);
        }));
        QCOMPARE(asked, QStringList({"~/Favorites", "/media/old/Favorites"}));
        QCOMPARE(shown, QStringLiteral("~ ~/opera6.adr Opera HotList (*.adr)|Any file (*)"));
        QCOMPARE(locations, QStringList({"/media/old/Favorites", "~/bookmarks.html", "~/new.adr"}));
    }

    void exportEditsAreReadOnlyAndOkWritesTheThreeTargets()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.ExportNetscape = false; });
        window.start();
        const std::filesystem::path out = window.home.path() / "out";
        std::filesystem::create_directories(out);
        QStringList opened, clicked;
        QVERIFY(answer<ExportForm>(window, [&](ExportForm& dialog) {
            opened = rowStates(dialog, kExportRows, window);
            click(dialog, "chkNetscape");
            clicked = rowStates(dialog, kExportRows, window);
            dialog.pickDirectory = [&](const QString&) { return QString::fromStdString(out.string()); };
            dialog.pickFile = [&](const QString&, const QStringList& filters) {
                const char* name = filters.value(0).contains(QStringLiteral("*.adr")) ? "list.adr" : "page.html";
                return QString::fromStdString((out / name).string());
            };
            for (const auto& row : kExportRows)
                click(dialog, row[2]);
            click(dialog, "btnOk");
        }));
        QCOMPARE(opened, QStringList({"[x] ~/Favorites, read-only, picker on, normal",
                                      "[ ] ~/bookmarks.html, read-only, picker on, face",
                                      "[x] ~/opera6.adr, read-only, picker on, normal"}));
        QCOMPARE(clicked.value(1), QStringLiteral("[x] ~/bookmarks.html, read-only, picker on, normal"));
        const std::string page = readFile(out / "page.html");
        const std::string hotlist = readFile(out / "list.adr");
        QVERIFY(page.starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"));
        QVERIFY(page.find("<DT><A HREF=\"https://mail.example/\">Mail</A>\r\n") != std::string::npos);
        QVERIFY(hotlist.starts_with("Opera Hotlist version 2.0\r\n"));
        QVERIFY(hotlist.find("#URL\r\nNAME=Mail\r\nURL=https://mail.example/\r\n") != std::string::npos);
        QCOMPARE(readFile(out / "Velloria/Work/Mail.url"), std::string("[InternetShortcut]\r\nURL=https://mail.example/\r\n"));
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(boxes(prefs.ExportIE, prefs.ExportNetscape, prefs.ExportOpera), QStringLiteral("xxx"));
        QCOMPARE(tilde(QString::fromStdString(prefs.IEFavoritesDir + " " + prefs.NetscapeFile + " " + prefs.OperaFile),
                       window),
                 QStringLiteral("~/out ~/out/page.html ~/out/list.adr"));
    }

    void bothDialogsTakeTheirCaptionsFromTheLanguage()
    {
        SampleWindow window;
        window.home.write("Deutsch.lng", crlf({"000 1.0", "001 Deutsch", "312 Abbrechen", "313 Gut", "388 Importieren",
                                               "389 Aus IE", "390 IE-Favoriten", "391 Verzeichnis:", "392 Aus Netscape",
                                               "393 Netscape-Lesezeichen", "394 Datei:", "395 Aus Opera",
                                               "396 Opera-Hotlist", "397 Exportieren", "398 Nach IE",
                                               "399 Nach Netscape", "400 Nach Opera"}));
        const std::string language = (window.home.refLib() / "Deutsch.lng").string();
        writeSamplePreferences(window.home, [&](TPreferences& prefs) { prefs.LanguageFile = language; });
        window.start();
        QStringList shown;
        answer<ImportForm>(window, [&](ImportForm& dialog) { shown << captions(dialog).join(", "); });
        answer<ExportForm>(window, [&](ExportForm& dialog) { shown << captions(dialog).join(", "); });
        const QString buttons = QStringLiteral("btnOk: Gut, btnCancel: Abbrechen");
        QCOMPARE(shown, QStringList({"Importieren, grbIE: Aus IE, chkImportIE: IE-Favoriten, lblIEDirectory: "
                                     "Verzeichnis:, sbIEDirectory: ..., grbNetscape: Aus Netscape, chkNetscape: "
                                     "Netscape-Lesezeichen, lblNetscapeFile: Datei:, sbNetscapeFile: ..., grbOpera: "
                                     "Aus Opera, chkOpera: Opera-Hotlist, lblOperaFile: Datei:, sbOperaFile: ..., "
                                         + buttons,
                                     "Exportieren, grbIE: Nach IE, chkIE: Exportieren, lblIE: Verzeichnis:, sbIEFav: "
                                     "..., grbNetscape: Nach Netscape, chkNetscape: Exportieren, lblNescape: Datei:, "
                                     "sbNetscapeFile: ..., grbOpera: Nach Opera, chkOpera: Exportieren, lblOpera: "
                                     "Datei:, sbOperaFile: ..., "
                                         + buttons}));
    }

    // The progress labels, the message of the HTML page and the About box's line are texts of the
    // language: translated in the shipped file, in English under a file of an older version.
    void theProgressTheMessageAndTheAboutLineSpeakTheLanguage()
    {
        const std::string german = shippedLanguage("German.lng");
        const struct {
            std::string file;
            QStringList shown;
        } cases[] = {
            {german,
             {"Lesezeichen werden importiert…", "Lesezeichen werden exportiert…",
              "Wählen Sie zuerst einen Ordner aus.", "Ein Lesezeichen-Manager"}},
            {withoutEntriesFrom(german, 420),
             {"Importing bookmarks…", "Exporting bookmarks…", "Select a folder first.", "A bookmark manager"}},
        };
        for (const auto& c : cases) {
            SampleWindow window;
            window.home.write("folders.wnf", ""); // no folder, so none is selected
            std::filesystem::remove(window.home.refLib() / "foldst.wnf");
            window.home.write("Language.lng", c.file);
            writeSamplePreferences(window.home, [&](TPreferences& prefs) {
                prefs.LanguageFile = (window.home.refLib() / "Language.lng").string();
                prefs.ImportIE = prefs.ImportOpera = false;
            });
            writeFileAtomically(window.home.path() / "bookmarks.html", kBookmarkFile);
            window.start();
            answerDialog<GenHtmlForm>([&] { window.action("FileGenHtml")->trigger(); }, [](GenHtmlForm& dialog) {
                control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
                click(dialog, "btnOk");
            });
            AboutForm about(window.model.texts());
            QStringList shown;
            shown << progressLabel<ImportForm>(window) << progressLabel<ExportForm>(window)
                  << window.form.messages.value(0) << control<QLabel>(about, "lblWhat")->text();
            QCOMPARE(shown, c.shown);
        }
    }

    void progressShowsOnlyForALongExchangeAndItsCancelStopsTheWork()
    {
        QWidget owner;
        owner.setWindowTitle(QStringLiteral("Export Bookmarks"));
        ExchangeProgress quick(owner, QStringLiteral("Exporting"), QStringLiteral("Cancel"));
        quick.report(1, 2);
        QVERIFY(!quick.dialog());
        ExchangeProgress throttled(owner, QStringLiteral("Exporting"), QStringLiteral("Cancel"), {0, 60'000});
        throttled.report(1, 4);
        throttled.report(3, 4); // too soon after the first: not shown
        QCOMPARE(throttled.dialog()->value() * 4, throttled.dialog()->maximum());

        auto slow = std::make_unique<ExchangeProgress>(owner, QStringLiteral("Exporting"), QStringLiteral("Abbrechen"),
                                                       ExchangeProgress::Timing{0, 0});
        const ProgressFunction report = slow->function();
        report(5'000'000'000ULL, 10'000'000'000ULL); // beyond int
        QPointer<QProgressDialog> dialog = slow->dialog();
        QVERIFY(dialog && dialog->isVisible() && dialog->value() * 2 == dialog->maximum());
        QCOMPARE(dialog->windowTitle() + ": " + dialog->labelText(), QStringLiteral("Export Bookmarks: Exporting"));
        report(7, 0); // unknown total: busy
        QCOMPARE(dialog->maximum(), 0);
        auto* cancel = dialog->findChild<QPushButton*>();
        QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY_THROWS_EXCEPTION(OperationCancelled, report(8, 10));
        slow.reset();
        QVERIFY(dialog.isNull());
    }
};

} // namespace

int runInterchangeDialogsTests(int argc, char** argv)
{
    InterchangeDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "InterchangeDialogsTest.moc"
