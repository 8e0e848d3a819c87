// "HTML Settings": what it shows from the preferences, the colour and file choosers, what OK
// stores and writes, a cancelled save, Cancel, the selected folder alone, a failed write and the
// keyboard.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/GenHtmlForm.h"
#include "gui/QtColor.h"
#include "platform/FileIO.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>

#include <filesystem>

using namespace velloria;
using namespace velloria::test;

namespace {

// What the colour and save dialogs were asked, and what they answer.
struct Answers {
    std::optional<QColor> colour;
    QString file;
    QStringList asked;

    void install(GenHtmlForm& dialog)
    {
        dialog.setColourChooser([this](QWidget&, const QColor& current) {
            asked << "colour " + current.name();
            return colour;
        });
        dialog.setFileChooser([this](QWidget&, const QString& preset) {
            asked << "file " + preset;
            return file;
        });
    }
};

QLineEdit* field(GenHtmlForm& dialog, const char* name)
{
    return control<QLineEdit>(dialog, name);
}

QString swatchColour(GenHtmlForm& dialog, const char* name)
{
    return control(dialog, name)->property("colour").value<QColor>().name();
}

// Opens the dialog with the choosers answering as given, and answers it.
bool openHtml(SampleWindow& window, Answers& answers, const std::function<void(GenHtmlForm&)>& answer)
{
    return answerDialog<GenHtmlForm>([&] { window.trigger("FileGenHtml"); }, [&](GenHtmlForm& dialog) {
        answers.install(dialog);
        answer(dialog);
    });
}

QString path(const std::filesystem::path& file)
{
    return QString::fromStdString(file.string());
}

class HtmlDialogTest : public QObject {
    Q_OBJECT

private slots:
    void okStoresTheSettingsAndWritesThePageWhereTheUserSaysSo()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.HtmlTextColor = clWindowText; });
        window.start();
        const std::filesystem::path target = window.home.path() / "links.html";
        Answers answers{QColor(0x12, 0x34, 0x56), path(target)};
        QStringList shown;
        QVERIFY(openHtml(window, answers, [&](GenHtmlForm& dialog) {
            shown << field(dialog, "edTitle")->text() << field(dialog, "edHeaderMessage")->text()
                  << field(dialog, "edWelcomeMessage")->text() << swatchColour(dialog, "stBackground")
                  << swatchColour(dialog, "stHeaderArea")
                  << QString::number(control<QCheckBox>(dialog, "chkGenSelFold")->isChecked());
            field(dialog, "edTitle")->setText(QStringLiteral("Café <links>"));
            click(dialog, "stHeaderArea");
            QCOMPARE(swatchColour(dialog, "stHeaderArea"), QStringLiteral("#123456"));
            click(dialog, "btnOk");
        }));
        QCOMPARE(shown, QStringList({"Title", "Header Message", "Welcome Message", "#c0dcc0", "#ffffe1", "0"}));
        QCOMPARE(answers.asked, QStringList({"colour #ffffe1", "file " + path(window.home.path() / "velloria.html")}));
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(prefs.HtmlTitle, std::string("Caf\xC3\xA9 <links>"));
        QCOMPARE(prefs.HtmlHeaderAreaColor, 0x563412);
        QCOMPARE(prefs.HtmlTextColor, clWindowText);
        QCOMPARE(prefs.HtmlFile, target.string());
        const std::string page = readFile(target);
        QVERIFY(page.find("<title>Caf\xC3\xA9 &lt;links&gt;</title>\r\n") != std::string::npos);
        QVERIFY(page.find("<th bgcolor=\"#123456\"") != std::string::npos);
        QVERIFY(page.find("<b>Main</b>") != std::string::npos);
    }

    void aCancelledSaveKeepsTheDialogOpenAndCancelStoresNothing()
    {
        SampleWindow window([](TPreferences& prefs) { prefs.HtmlFile = "pages/mine.html"; });
        window.start();
        Answers answers{QColor(Qt::red), {}};
        QVERIFY(!openHtml(window, answers, [&](GenHtmlForm& dialog) {
            field(dialog, "edWelcomeMessage")->setText(QStringLiteral("Hi"));
            click(dialog, "btnOk");
            QVERIFY(dialog.isVisible());
        }));
        QCOMPARE(answers.asked, QStringList({"file " + path(window.home.path() / "pages/mine.html")}));
        QCOMPARE(window.model.prefs().HtmlWelcomeMessage, std::string("Hi"));
        QCOMPARE(window.model.prefs().HtmlFile, std::string("pages/mine.html"));
        QVERIFY(!std::filesystem::exists(window.home.path() / "pages"));

        const TPreferences before = window.model.prefs();
        answers = {QColor(Qt::red), path(window.home.path() / "never.html")};
        QVERIFY(openHtml(window, answers, [&](GenHtmlForm& dialog) {
            field(dialog, "edTitle")->setText(QStringLiteral("Changed"));
            click(dialog, "stText");
            control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
            click(dialog, "btnCancel");
        }));
        QVERIFY(window.model.prefs() == before);
        QCOMPARE(answers.asked, QStringList({"colour #000000"}));
        QVERIFY(!std::filesystem::exists(window.home.path() / "never.html"));
    }

    void theSelectedFolderAloneNeedsASelectedFolder()
    {
        SampleWindow window;
        window.start();
        const std::filesystem::path target = window.home.path() / "cafe.html";
        Answers answers{std::nullopt, path(target)};
        QVERIFY(openHtml(window, answers, [&](GenHtmlForm& dialog) {
            control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
            click(dialog, "btnOk");
        }));
        QVERIFY(window.model.prefs().HtmlSelectedFolderOnly);
        const std::string page = readFile(target);
        QVERIFY(page.find(">Caf\xC3\xA9 Central</a>") != std::string::npos);
        QVERIFY(page.find("<b>Main</b>") == std::string::npos);

        // Without folders nothing is selected: the dialog says so and stays open.
        SampleWindow empty;
        empty.home.write("folders.wnf", "");
        std::filesystem::remove(empty.home.refLib() / "foldst.wnf");
        empty.start();
        answers.asked.clear();
        QVERIFY(!openHtml(empty, answers, [&](GenHtmlForm& dialog) {
            control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
            click(dialog, "btnOk");
            QVERIFY(dialog.isVisible());
        }));
        QCOMPARE(empty.form.messages, QStringList({"Select a folder first."}));
        QVERIFY(answers.asked.isEmpty());
    }

    void aFailedWriteIsReportedAndTheDialogStaysOpen()
    {
        SampleWindow window;
        window.start();
        const std::filesystem::path blocked = window.home.path() / "blocked.html";
        std::filesystem::create_directory(blocked);
        Answers answers{std::nullopt, path(blocked)};
        const ModalAnswerer<QMessageBox> answerer;
        QVERIFY(!openHtml(window, answers, [&](GenHtmlForm& dialog) {
            click(dialog, "btnOk");
            QVERIFY(dialog.isVisible());
        }));
        QCOMPARE(answerer.shown.size(), 1);
        QVERIFY2(answerer.shown[0].startsWith("Velloria: Cannot create file") && answerer.shown[0].contains("blocked"),
                 qPrintable(answerer.shown[0]));
        QCOMPARE(window.model.prefs().HtmlFile, (window.home.path() / "velloria.html").string());
    }

    void theKeyboardReachesAndOpensEverySwatch()
    {
        SampleWindow window;
        window.start();
        Answers answers{QColor(0xAB, 0xCD, 0xEF), {}};
        QStringList chain;
        QVERIFY(!openHtml(window, answers, [&](GenHtmlForm& dialog) {
            chain = tabStops(dialog, 11);
            control(dialog, "stBookmarkArea1")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            control(dialog, "stBookmarkArea2")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            QCOMPARE(swatchColour(dialog, "stBookmarkArea2"), QStringLiteral("#abcdef"));
        }));
        QCOMPARE(chain, QStringList({"edTitle", "edHeaderMessage", "edWelcomeMessage", "stText", "stBackground",
                                     "stHeaderArea", "stWelcomeArea", "stBookmarkArea1", "stBookmarkArea2",
                                     "chkGenSelFold", "btnOk"}));
        QCOMPARE(answers.asked, QStringList({"colour #a6caf0", "colour #d9e8f9"}));
        QCOMPARE(window.model.prefs().HtmlBookmarkArea2Color, 16378073);
    }

    void theSaveDialogOffersHtmlHtmAndAllFiles()
    {
        SampleWindow window;
        window.start();
        QStringList offered;
        QVERIFY(!answerDialog<GenHtmlForm>([&] { window.trigger("FileGenHtml"); }, [&](GenHtmlForm& dialog) {
            QTimer::singleShot(0, &dialog, [&] {
                auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(picker && picker->acceptMode() == QFileDialog::AcceptSave);
                offered = picker->nameFilters() << picker->defaultSuffix();
                picker->reject();
            });
            click(dialog, "btnOk");
        }));
        QCOMPARE(offered, QStringList({"HTML file (*.html)", "HTM file (*.htm)", "All files (*)", "html"}));
    }
};

} // namespace

VELLORIA_GUI_TEST(HtmlDialogTest)
#include "HtmlDialogTest.moc"
