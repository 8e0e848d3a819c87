// "Preferences": a language edited and saved, Apply giving the dialog itself the new texts, and
// the language and colours confirmed with OK reaching the main window and Tessel.cfg.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/PreferencesForm.h"
#include "gui/QtColor.h"
#include "platform/FileIO.h"
#include "settings/HomeSetup.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace velloria;
using namespace velloria::test;

namespace {

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

class PreferencesFormTest : public QObject {
    Q_OBJECT

private slots:
    void theControlsReachTheDialogAndOkTheWindowAndTheFile()
    {
        SampleWindow window;
        prepareHome(window.home.path()); // the shipped languages
        window.start();
        QVERIFY(showActive(window.form));
        window.form.answer = Answer::Yes; // to saving the edited language
        const std::filesystem::path german = window.home.path() / "Languages/German.lng";
        const std::string shipped = readFile(german);
        const QColor chosen(0x20, 0x40, 0x60);
        QStringList shown;
        const auto open = [&] { window.trigger("ToolsPreferences"); };
        QVERIFY(answerDialog<PreferencesForm>(open, [&](PreferencesForm& dialog) {
            dialog.setColourChooser([&](QWidget&, const QColor&) { return std::optional<QColor>(chosen); });
            shown << languageList(dialog) << enabledStates(dialog, {"btnEditLanguage", "btnSave", "btnApply"});
            auto* pages = control<QTabWidget>(dialog, "pgcPreferences");
            pages->setCurrentIndex(1);
            QTest::keyClick(control(dialog, "cmbLanguages"), Qt::Key_Down);
            auto* editor = control<QPlainTextEdit>(dialog, "memLangEdit");
            shown << editor->toPlainText().section(u'\n', 0, 1)
                  << enabledStates(dialog, {"btnEditLanguage", "btnSave", "btnSaveAs", "btnDelete", "btnApply"});
            click(dialog, "btnEditLanguage");
            QVERIFY(!editor->isReadOnly());
            editor->moveCursor(QTextCursor::End);
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, "343 Minuten");
            click(dialog, "btnSave");
            click(dialog, "btnApply");
            shown << dialog.windowTitle() + ", " + pages->tabText(0) + ", " + pages->tabText(1) + ", "
                         + control<QLabel>(dialog, "lblMins")->text()
                  << enabledStates(dialog, {"btnSave", "btnApply"});
            pages->setCurrentIndex(2);
            click(dialog, "stTreeBackground");
            click(dialog, "stListFontColor");
            click(dialog, "btnOK");
        }));
        QCOMPARE(shown, QStringList({"English (standard) *, Deutsch (German.lng), Français (French.lng)",
                                     "-btnEditLanguage -btnSave -btnApply",
                                     "/// Velloria language file: Deutsch\n000 1.0",
                                     "btnEditLanguage -btnSave btnSaveAs btnDelete btnApply",
                                     "Einstellungen, Allgemein, Sprache, Minuten", "-btnSave -btnApply"}));
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QCOMPARE(readFile(german), shipped + "343 Minuten\r\n");
        QCOMPARE(window.action("ToolsPreferences")->text(), QStringLiteral("&Einstellungen..."));
        QCOMPARE(headerCaptions(*window.linkModel()).value(0), QStringLiteral("Titel +"));
        QCOMPARE(window.folderView()->palette().color(QPalette::Base), chosen);
        QCOMPARE(window.linkView()->palette().color(QPalette::Text), chosen);
        QCOMPARE(window.linkView()->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        const std::string stored = std::to_string(toTColor(chosen));
        for (const std::string& line : {"014 " + german.string(), "019 " + stored, "022 " + stored})
            QVERIFY2(preferencesHold(window.home, line), line.c_str());
    }
};

} // namespace

VELLORIA_GUI_TEST(PreferencesFormTest)
#include "PreferencesFormTest.moc"
