// "HTML Settings": what it shows from the preferences, what OK stores and writes, a cancelled
// save, Cancel, the selected folder alone, a failed write, the keyboard and the language.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/GenHtmlForm.h"
#include "gui/QtColor.h"
#include "platform/FileIO.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

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

bool openHtml(SampleWindow& window, const std::function<void(GenHtmlForm&)>& answer)
{
    return answerDialog<GenHtmlForm>([&] { window.action("FileGenHtml")->trigger(); }, answer);
}

void clickOk(GenHtmlForm& dialog)
{
    QTest::mouseClick(control(dialog, "btnOk"), Qt::LeftButton);
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
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.HtmlTextColor = clWindowText; });
        window.start();
        const std::filesystem::path target = window.home.path() / "links.html";
        Answers answers{QColor(0x12, 0x34, 0x56), path(target)};
        QStringList shown;
        QString windowText;
        QVERIFY(openHtml(window, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            windowText = dialog.palette().color(QPalette::Text).name().toUpper();
            shown << field(dialog, "edTitle")->text() << field(dialog, "edHeaderMessage")->text()
                  << field(dialog, "edWelcomeMessage")->text() << swatchColour(dialog, "stBackground")
                  << swatchColour(dialog, "stHeaderArea")
                  << QString::number(control<QCheckBox>(dialog, "chkGenSelFold")->isChecked());
            field(dialog, "edTitle")->setText(QStringLiteral("Café <links>"));
            QTest::mouseClick(control(dialog, "stHeaderArea"), Qt::LeftButton);
            QCOMPARE(swatchColour(dialog, "stHeaderArea"), QStringLiteral("#123456"));
            clickOk(dialog);
        }));
        QCOMPARE(shown, QStringList({"Title", "Header Message", "Welcome Message", "#c0dcc0", "#ffffe1", "0"}));
        QCOMPARE(answers.asked,
                 QStringList({"colour #ffffe1", "file " + path(window.home.path() / "velloria.html")}));
        const TPreferences& prefs = window.model.prefs();
        QCOMPARE(prefs.HtmlTitle, std::string("Caf\xC3\xA9 <links>"));
        QCOMPARE(prefs.HtmlHeaderAreaColor, 0x563412);
        QCOMPARE(prefs.HtmlTextColor, clWindowText);
        QCOMPARE(prefs.HtmlFile, target.string());
        const std::string page = readFile(target);
        QVERIFY(page.find("<title>Caf\xC3\xA9 &lt;links&gt;</title>\r\n") != std::string::npos);
        QVERIFY(page.find("text=\"" + windowText.toStdString() + "\">") != std::string::npos);
        QVERIFY(page.find("<th bgcolor=\"#123456\"") != std::string::npos);
        for (const char* folder : {"Main", "Recipes", "Caf\xC3\xA9", "Work", "Projects", "Velloria", "Archive"})
            QVERIFY2(page.find("<b>" + std::string(folder) + "</b>") != std::string::npos, folder);
        QVERIFY(page.find(">Old forum</a>") != std::string::npos);
        QVERIFY(window.form.messages.isEmpty());
    }

    void aCancelledSaveKeepsTheDialogOpenWithTheSettingsStored()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) { prefs.HtmlFile = "pages/mine.html"; });
        window.start();
        Answers answers;
        QVERIFY(!openHtml(window, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            field(dialog, "edWelcomeMessage")->setText(QStringLiteral("Hi"));
            clickOk(dialog);
            QVERIFY(dialog.isVisible());
        }));
        QCOMPARE(answers.asked, QStringList({"file " + path(window.home.path() / "pages/mine.html")}));
        QCOMPARE(window.model.prefs().HtmlWelcomeMessage, std::string("Hi"));
        QCOMPARE(window.model.prefs().HtmlFile, std::string("pages/mine.html"));
        QVERIFY(!std::filesystem::exists(window.home.path() / "pages"));
    }

    void cancelStoresNothing()
    {
        SampleWindow window;
        window.start();
        const TPreferences before = window.model.prefs();
        Answers answers{QColor(Qt::red), path(window.home.path() / "never.html")};
        QVERIFY(openHtml(window, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            field(dialog, "edTitle")->setText(QStringLiteral("Changed"));
            QTest::mouseClick(control(dialog, "stText"), Qt::LeftButton);
            control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
            QTest::mouseClick(control(dialog, "btnCancel"), Qt::LeftButton);
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
        QVERIFY(openHtml(window, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
            clickOk(dialog);
        }));
        QVERIFY(window.model.prefs().HtmlSelectedFolderOnly);
        const std::string page = readFile(target);
        QVERIFY(page.find("<b>Caf\xC3\xA9</b>") != std::string::npos);
        QVERIFY(page.find(">Caf\xC3\xA9 Central</a>") != std::string::npos);
        QVERIFY(page.find("<b>Main</b>") == std::string::npos);

        // Without folders nothing is selected: the dialog says so and stays open.
        SampleWindow empty;
        empty.home.write("folders.wnf", "");
        std::filesystem::remove(empty.home.refLib() / "foldst.wnf");
        const MessageBoxAnswerer errors;
        empty.start();
        QVERIFY(!openHtml(empty, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            answers.asked.clear();
            control<QCheckBox>(dialog, "chkGenSelFold")->setChecked(true);
            clickOk(dialog);
            QVERIFY(dialog.isVisible());
        }));
        QCOMPARE(empty.form.messages, QStringList({"Select a folder first."}));
        QCOMPARE(errors.boxes, QStringList());
        QVERIFY(answers.asked.isEmpty());
    }

    void aFailedWriteIsReportedAndTheDialogStaysOpen()
    {
        SampleWindow window;
        window.start();
        const std::filesystem::path blocked = window.home.path() / "blocked.html";
        std::filesystem::create_directory(blocked);
        Answers answers{std::nullopt, path(blocked)};
        const MessageBoxAnswerer answerer;
        QVERIFY(!openHtml(window, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            clickOk(dialog);
            QVERIFY(dialog.isVisible());
        }));
        QCOMPARE(answerer.boxes.size(), 1);
        QVERIFY2(answerer.boxes[0].startsWith("Velloria: Cannot create file") && answerer.boxes[0].contains("blocked"),
                 qPrintable(answerer.boxes[0]));
        QVERIFY(std::filesystem::is_directory(blocked));
        QCOMPARE(window.model.prefs().HtmlFile, (window.home.path() / "velloria.html").string());
    }

    void theKeyboardReachesAndOpensEverySwatch()
    {
        SampleWindow window;
        window.start();
        Answers answers{QColor(0xAB, 0xCD, 0xEF), {}};
        QStringList chain;
        QVERIFY(!openHtml(window, [&](GenHtmlForm& dialog) {
            answers.install(dialog);
            for (int i = 0; i < 11; ++i) {
                chain << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
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
        QVERIFY(!openHtml(window, [&](GenHtmlForm& dialog) {
            QTimer::singleShot(0, &dialog, [&] {
                auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(picker && picker->acceptMode() == QFileDialog::AcceptSave);
                offered = picker->nameFilters();
                offered << picker->defaultSuffix();
                picker->reject();
            });
            clickOk(dialog);
        }));
        QCOMPARE(offered, QStringList({"HTML file (*.html)", "HTM file (*.htm)", "All files (*)", "html"}));
    }

    void theCaptionsComeFromTheLanguage()
    {
        SampleWindow window;
        window.home.write("Deutsch.lng",
                          crlf({"000 1.0", "001 Deutsch", "301 Titel:", "308 HTML-Einstellungen", "309 Texte",
                                "312 Abbrechen", "313 Gut", "344 Farben", "347 Willkommensbereich:", "351 Schrift:"}));
        const std::string language = (window.home.refLib() / "Deutsch.lng").string();
        writeSamplePreferences(window.home, [&](TPreferences& prefs) { prefs.LanguageFile = language; });
        window.start();
        QStringList shown;
        QVERIFY(openHtml(window, [&](GenHtmlForm& dialog) {
            shown = captions(dialog);
            QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
            QCOMPARE(dialog.focusWidget(), field(dialog, "edTitle"));
            QVERIFY(control<QPushButton>(dialog, "btnOk")->isDefault());
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
        }));
        shown.sort();
        QCOMPARE(shown, QStringList({"HTML-Einstellungen", "btnCancel: Abbrechen", "btnOk: Gut",
                                     "chkGenSelFold: Generate from selected folder only",
                                     "grbColorScheme: Farben", "grbTextInfo: Texte",
                                     "lblBackground: Background:", "lblBookmarkArea1: Bookmark Area 1:",
                                     "lblBookmarkArea2: Bookmark Area 2:", "lblHeaderArea: Header Area:",
                                     "lblHeaderMessage: Welcome Header:", "lblText: Schrift:", "lblTitle: Titel:",
                                     "lblWelcomeArea: Willkommensbereich:", "lblWelcomeMessage: Welcome Message:"}));
    }
};

} // namespace

int runHtmlDialogTests(int argc, char** argv)
{
    HtmlDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HtmlDialogTest.moc"
