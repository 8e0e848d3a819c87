// Import, Export and HTML Settings: how a check box opens or closes its row, what each dialog
// hands to the model on OK, and the progress dialog of a long exchange.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/ExportForm.h"
#include "gui/GenHtmlForm.h"
#include "gui/ImportForm.h"
#include "platform/FileIO.h"
#include "support/LibraryFiles.h"

#include <QCheckBox>
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
                           base == normal.color(QPalette::Button) ? "face" : "normal");
    }
    return states;
}

QString path(const std::filesystem::path& file)
{
    return QString::fromStdString(file.string());
}

class InterchangeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void eachDialogHandsItsChoicesToTheModel()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.ImportOpera = prefs.ExportNetscape = false; });
        window.start();
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
            for (const auto& row : kExportRows)
                click(dialog, row[2]);
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
        QCOMPARE(rows, QStringList({"[x] ~/Favorites, editable, picker on, normal",
                                    "[x] ~/bookmarks.html, editable, picker on, normal",
                                    "[ ] ~/opera6.adr, read-only, picker off, face",
                                    "[ ] ~/Favorites, read-only, picker off, face",
                                    "[x] ~/bookmarks.html, editable, picker on, normal",
                                    "[x] ~/opera6.adr, editable, picker on, normal",
                                    "[x] ~/Favorites, read-only, picker on, normal",
                                    "[ ] ~/out/in.html, read-only, picker on, face",
                                    "[x] ~/opera6.adr, read-only, picker on, normal"}));
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

    void progressShowsOnlyForALongExchangeAndItsCancelStopsIt()
    {
        QWidget owner;
        ExchangeProgress quick(owner, QStringLiteral("Exporting"), QStringLiteral("Cancel"));
        quick.report(1, 2);
        QVERIFY(!quick.dialog());

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
