// "Preferences": a language and colours chosen and confirmed with OK reach the main window and
// Tessel.cfg; Apply gives the dialog itself the new texts; a language edited and saved.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/PreferencesForm.h"
#include "gui/QtColor.h"
#include "platform/FileIO.h"
#include "settings/HomeSetup.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace velloria;
using namespace velloria::test;

namespace {

bool openPreferences(SampleWindow& window, const std::function<void(PreferencesForm&)>& answer)
{
    return answerDialog<PreferencesForm>([&] { window.trigger("ToolsPreferences"); }, answer);
}

// The language list as shown, the chosen entry marked with "*".
QString languageList(PreferencesForm& dialog)
{
    auto* list = control<QComboBox>(dialog, "cmbLanguages");
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->itemText(i) + (i == list->currentIndex() ? " *" : "");
    return lines.join(QStringLiteral(", "));
}

// Which of the controls are enabled: "name" for enabled, "-name" for disabled.
QString enabledStates(PreferencesForm& dialog, std::initializer_list<const char*> names)
{
    QStringList states;
    for (const char* name : names)
        states << (control(dialog, name)->isEnabled() ? "" : "-") + QString::fromLatin1(name);
    return states.join(u' ');
}

// Shows the Language page and picks the entry after the chosen one with the keyboard.
void pickNextLanguage(PreferencesForm& dialog)
{
    control<QTabWidget>(dialog, "pgcPreferences")->setCurrentIndex(1);
    auto* list = control<QComboBox>(dialog, "cmbLanguages");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
}

class PreferencesFormTest : public QObject {
    Q_OBJECT

private slots:
    void okTakesTheLanguageAndTheColoursIntoTheWindowAndTheFile()
    {
        SampleWindow window;
        prepareHome(window.home.path()); // the shipped languages
        window.start();
        QVERIFY(showActive(window.form));
        const QColor chosen(0x20, 0x40, 0x60);
        QStringList shown;
        QVERIFY(openPreferences(window, [&](PreferencesForm& dialog) {
            dialog.setColourChooser([&](QWidget&, const QColor&) { return std::optional<QColor>(chosen); });
            shown << languageList(dialog) << enabledStates(dialog, {"btnEditLanguage", "btnSave", "btnApply"});
            pickNextLanguage(dialog);
            shown << control<QPlainTextEdit>(dialog, "memLangEdit")->toPlainText().section(u'\n', 0, 1)
                  << enabledStates(dialog, {"btnEditLanguage", "btnSave", "btnSaveAs", "btnDelete", "btnApply"});
            control<QTabWidget>(dialog, "pgcPreferences")->setCurrentIndex(2);
            click(dialog, "stTreeBackground");
            click(dialog, "stListFontColor");
            click(dialog, "btnOK");
        }));
        QCOMPARE(shown, QStringList({"English (standard) *, Deutsch (German.lng), Français (French.lng)",
                                     "-btnEditLanguage -btnSave -btnApply",
                                     "/// Velloria language file: Deutsch\n000 1.0",
                                     "btnEditLanguage -btnSave btnSaveAs btnDelete btnApply"}));
        QCOMPARE(window.action("ToolsPreferences")->text(), QStringLiteral("&Einstellungen..."));
        QCOMPARE(window.form.menuBar()->actions().value(3)->text(), QStringLiteral("E&xtras"));
        QCOMPARE(headerCaptions(*window.linkModel()).value(0), QStringLiteral("Titel +"));
        QVERIFY2(window.description().startsWith("Beschreibung:"), qPrintable(window.description()));
        QCOMPARE(window.folderView()->palette().color(QPalette::Base), chosen);
        QCOMPARE(window.linkView()->palette().color(QPalette::Text), chosen);
        QCOMPARE(window.linkView()->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        const std::string stored = std::to_string(toTColor(chosen));
        for (const std::string& line : std::vector<std::string>{"013 False", "014 " + (window.home.path() / "Languages/German.lng").string(),
                                        "019 " + stored, "022 " + stored, "029 2", "030 1"})
            QVERIFY2(preferencesHold(window.home, line), line.c_str());
    }

    void applyGivesTheDialogTheNewTextsAndSaveWritesTheEditedLanguage()
    {
        SampleWindow window;
        prepareHome(window.home.path());
        window.start();
        QVERIFY(showActive(window.form));
        window.form.answer = Answer::Yes;
        const std::filesystem::path german = window.home.path() / "Languages/German.lng";
        const std::string shipped = readFile(german);
        QStringList applied;
        QVERIFY(openPreferences(window, [&](PreferencesForm& dialog) {
            auto* editor = control<QPlainTextEdit>(dialog, "memLangEdit");
            pickNextLanguage(dialog);
            click(dialog, "btnEditLanguage");
            QVERIFY(!editor->isReadOnly());
            QCOMPARE(editor->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
            editor->moveCursor(QTextCursor::End);
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, "343 Minuten");
            click(dialog, "btnSave");
            click(dialog, "btnApply");
            auto* pages = control<QTabWidget>(dialog, "pgcPreferences");
            applied << dialog.windowTitle() << pages->tabText(0) << pages->tabText(1)
                    << control<QLabel>(dialog, "lblMins")->text() << enabledStates(dialog, {"btnSave", "btnApply"});
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }));
        QCOMPARE(applied, QStringList({"Einstellungen", "Allgemein", "Sprache", "Minuten", "-btnSave -btnApply"}));
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QCOMPARE(readFile(german), shipped + "343 Minuten\r\n");
    }
};

} // namespace

VELLORIA_GUI_TEST(PreferencesFormTest)
#include "PreferencesFormTest.moc"
