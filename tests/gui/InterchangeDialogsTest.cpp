// Import and Export: what the dialogs show from the preferences, how a check box opens or closes
// its row, the pickers, what OK brings in or writes and stores, errors, Cancel, and the progress
// dialog of a long exchange in the language in use.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/ExportForm.h"
#include "gui/ImportForm.h"
#include "platform/FileIO.h"
#include "support/LanguageFiles.h"

#include <QCheckBox>
#include <QFileDialog>
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
                      .arg(control<QCheckBox>(dialog, check)->isChecked() ? "x" : " ", window.tilde(field->text()),
                           field->isReadOnly() ? "read-only" : "editable",
                           control(dialog, picker)->isEnabled() ? "on" : "off",
                           base == normal.color(QPalette::Button) ? "face"
                           : base == normal.color(QPalette::Base) ? "normal"
                                                                  : "other");
    }
    return states;
}

template <typename Form> bool answer(SampleWindow& window, const std::function<void(Form&)>& how)
{
    return answerDialog<Form>([&] { window.trigger(std::is_same_v<Form, ImportForm> ? "FileImport" : "FileExport"); },
                              how);
}

QString boxes(bool ie, bool netscape, bool opera)
{
    return QStringLiteral("%1%2%3").arg(ie ? "x" : "-", netscape ? "x" : "-", opera ? "x" : "-");
}

// "caption: label" of the progress dialog that OK brings up; its Cancel, pressed at the first
// report, stops the work at once and closes the dialog it came from.
template <typename Form> QString progressShown(SampleWindow& window)
{
    QString shown;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            shown = progress->windowTitle() + ": " + progress->labelText();
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            canceller.stop();
        }
    });
    const bool closed = answer<Form>(window, [&](Form& dialog) {
        dialog.progressTiming = {0, 0};
        canceller.start(0);
        control<QPushButton>(dialog, "btnOk")->click(); // handles no events of its own
    });
    return closed ? shown : shown + " (left open)";
}

class InterchangeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void importOpensWithThePreferencesAndTheBoxesOpenAndCloseTheirRows()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.ImportOpera = false; });
        window.start();
        QStringList opened, clicked;
        QVERIFY(!answer<ImportForm>(window, [&](ImportForm& dialog) {
            opened = rowStates(dialog, kImportRows, window);
            click(dialog, "chkImportIE");
            click(dialog, "chkOpera");
            clicked = rowStates(dialog, kImportRows, window);
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

    void okImportsTheChosenFileAndStoresTheChoiceButCancelStoresNothing()
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
        QCOMPARE(treeLines(*window.folderModel()).mid(7), QStringList({"Netscape", "  News"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Netscape"));
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
        const ModalAnswerer<QMessageBox> answerer;
        QVERIFY(!answer<ImportForm>(window, [&](ImportForm& dialog) {
            click(dialog, "btnOk");
            QVERIFY(dialog.isVisible());
        }));
        const QString error = answerer.shown.value(0);
        QVERIFY2(answerer.shown.size() == 1 && error.startsWith("Velloria: ") && error.contains("Links"),
                 qPrintable(error));
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
                asked << window.tilde(start);
                return std::exchange(next, {});
            };
            click(dialog, "sbIEDirectory");
            click(dialog, "sbIEDirectory"); // cancelled
            // The real file picker: in the location's directory, the file need not exist.
            QTimer::singleShot(0, &dialog, [&] {
                auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(picker && picker->acceptMode() == QFileDialog::AcceptOpen);
                shown = window.tilde(picker->directory().absolutePath() + " " + picker->selectedFiles().join(u',')
                                     + " " + picker->nameFilters().join(u'|'));
                picker->selectFile(QStringLiteral("new.adr"));
                static_cast<QDialog*>(picker)->accept();
            });
            click(dialog, "sbOperaFile");
            for (const auto& row : kImportRows)
                locations << window.tilde(control<QLineEdit>(dialog, row[1])->text());
        }));
        QCOMPARE(asked, QStringList({"~/Favorites", "/media/old/Favorites"}));
        QCOMPARE(shown, QStringLiteral("~ ~/opera6.adr Opera HotList (*.adr)|Any file (*)"));
        QCOMPARE(locations, QStringList({"/media/old/Favorites", "~/bookmarks.html", "~/new.adr"}));
    }

    void exportEditsAreReadOnlyAndOkWritesThePickedTargets()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.ExportNetscape = false; });
        window.start();
        const std::filesystem::path out = window.home.path() / "out";
        std::filesystem::create_directories(out);
        QStringList opened;
        QVERIFY(answer<ExportForm>(window, [&](ExportForm& dialog) {
            opened = rowStates(dialog, kExportRows, window);
            click(dialog, "chkNetscape");
            opened << rowStates(dialog, kExportRows, window).value(1);
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
                                     "[x] ~/opera6.adr, read-only, picker on, normal",
                                     "[x] ~/bookmarks.html, read-only, picker on, normal"}));
        QVERIFY(readFile(out / "page.html").starts_with("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"));
        QVERIFY(readFile(out / "list.adr").starts_with("Opera Hotlist version 2.0\r\n"));
        QVERIFY(std::filesystem::exists(out / "Velloria/Work/Mail.url"));
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(boxes(prefs.ExportIE, prefs.ExportNetscape, prefs.ExportOpera), QStringLiteral("xxx"));
        QCOMPARE(window.tilde(QString::fromStdString(prefs.IEFavoritesDir + " " + prefs.NetscapeFile + " "
                                                     + prefs.OperaFile)),
                 QStringLiteral("~/out ~/out/page.html ~/out/list.adr"));
    }

    // The labels are texts of the language: in English under a file of an older version.
    void cancelInTheProgressStopsTheExchangeSilently_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("built in") << "" << QStringList{"Import Bookmarks: Importing bookmarks…",
                                                        "Export Bookmarks: Exporting bookmarks…"};
        QTest::newRow("German") << "German.lng" << QStringList{"Lesezeichen importieren: Lesezeichen werden importiert…",
                                                                "Lesezeichen exportieren: Lesezeichen werden exportiert…"};
        QTest::newRow("older") << "older" << QStringList{"Lesezeichen importieren: Importing bookmarks…",
                                                          "Lesezeichen exportieren: Exporting bookmarks…"};
    }

    void cancelInTheProgressStopsTheExchangeSilently()
    {
        QFETCH(QString, language);
        SampleWindow window;
        const std::string german = shippedLanguage("German.lng");
        window.home.write("Language.lng", language == "older" ? withoutEntriesFrom(german, 420) : german);
        writeSamplePreferences(window.home, [&](TPreferences& prefs) {
            prefs.ImportIE = prefs.ImportOpera = false;
            if (!language.isEmpty())
                prefs.LanguageFile = (window.home.refLib() / "Language.lng").string();
        });
        writeFileAtomically(window.home.path() / "bookmarks.html", kBookmarkFile);
        window.start();
        const ModalAnswerer<QMessageBox> boxes;
        QTEST(QStringList({progressShown<ImportForm>(window), progressShown<ExportForm>(window)}), "shown");
        QVERIFY(boxes.shown.isEmpty() && window.form.messages.isEmpty());
        QVERIFY(!treeLines(*window.folderModel()).contains(QStringLiteral("  News")));
    }

    void progressShowsOnlyForALongExchange()
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
        report(7, 0); // unknown total: busy
        QCOMPARE(dialog->maximum(), 0);
        QCOMPARE(dialog->findChild<QPushButton*>()->text(), QStringLiteral("Abbrechen"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY_THROWS_EXCEPTION(OperationCancelled, report(8, 10));
        slow.reset();
        QVERIFY(dialog.isNull());
    }
};

} // namespace

VELLORIA_GUI_TEST(InterchangeDialogsTest)
#include "InterchangeDialogsTest.moc"
