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
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace velloria;
using namespace velloria::test;

namespace {

bool openPreferences(SampleWindow& window, const std::function<void(PreferencesForm&)>& answer)
{
    return answerDialog<PreferencesForm>([&] { window.action("ToolsPreferences")->trigger(); }, answer);
}

void click(PreferencesForm& dialog, const char* button)
{
    QTest::mouseClick(control(dialog, button), Qt::LeftButton);
}

// The language list as shown, the chosen entry marked with "*".
QStringList languageList(PreferencesForm& dialog)
{
    auto* list = control<QComboBox>(dialog, "cmbLanguages");
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->itemText(i) + (i == list->currentIndex() ? " *" : "");
    return lines;
}

// Which of the controls are enabled: "name" for enabled, "-name" for disabled.
QStringList enabledStates(PreferencesForm& dialog, std::initializer_list<const char*> names)
{
    QStringList states;
    for (const char* name : names)
        states << (control(dialog, name)->isEnabled() ? "" : "-") + QString::fromLatin1(name);
    return states;
}

QColor viewColour(const QWidget* view, QPalette::ColorRole role)
{
    return view->palette().color(role);
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
        QStringList opened, german;
        QString editor;
        QVERIFY(openPreferences(window, [&](PreferencesForm& dialog) {
            dialog.setColourChooser([&](QWidget&, const QColor&) { return std::optional<QColor>(chosen); });
            QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
            QCOMPARE(control<QTabWidget>(dialog, "pgcPreferences")->tabText(2), QStringLiteral("Color"));
            opened = languageList(dialog) + enabledStates(dialog, {"btnEditLanguage", "btnSave", "btnApply"});
            auto* pages = control<QTabWidget>(dialog, "pgcPreferences");
            pages->setCurrentIndex(1);
            auto* list = control<QComboBox>(dialog, "cmbLanguages");
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
            editor = control<QPlainTextEdit>(dialog, "memLangEdit")->toPlainText().section(u'\n', 0, 1);
            german = languageList(dialog).mid(1, 1) +
                     enabledStates(dialog, {"btnEditLanguage", "btnSave", "btnSaveAs", "btnDelete", "btnApply"});
            pages->setCurrentIndex(2);
            click(dialog, "stTreeBackground");
            click(dialog, "stListFontColor");
            click(dialog, "btnOK");
        }));
        QCOMPARE(opened, QStringList({"English (standard) *", QString::fromUtf8("Deutsch (German.lng)"),
                                      QString::fromUtf8("Français (French.lng)"), "-btnEditLanguage", "-btnSave",
                                      "-btnApply"}));
        QCOMPARE(editor, QStringLiteral("/// Velloria language file: Deutsch\n000 1.0"));
        QCOMPARE(german, QStringList({"Deutsch (German.lng) *", "btnEditLanguage", "-btnSave", "btnSaveAs",
                                      "btnDelete", "btnApply"}));
        QCOMPARE(window.action("ToolsPreferences")->text(), QStringLiteral("&Einstellungen..."));
        QCOMPARE(window.form.menuBar()->actions().value(3)->text(), QStringLiteral("E&xtras"));
        QCOMPARE(headerCaptions(*window.linkModel()).value(0), QStringLiteral("Titel +"));
        QVERIFY2(window.description().startsWith("Beschreibung:"), qPrintable(window.description()));
        QCOMPARE(viewColour(window.folderView(), QPalette::Base), chosen);
        QCOMPARE(viewColour(window.linkView(), QPalette::Text), chosen);
        QCOMPARE(viewColour(window.linkView(), QPalette::Base), QApplication::palette().color(QPalette::Base));
        const std::string file = readPreferences(window.home);
        const std::string stored = std::to_string(toTColor(chosen));
        const std::vector<std::string> lines = {"013 False",
                                                "014 " + (window.home.path() / "Languages/German.lng").string(),
                                                "019 " + stored, "022 " + stored, "029 2", "030 1"};
        for (const std::string& line : lines)
            QVERIFY2(file.find("\r\n" + line + "\r\n") != std::string::npos, line.c_str());
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
            auto* pages = control<QTabWidget>(dialog, "pgcPreferences");
            auto* editor = control<QPlainTextEdit>(dialog, "memLangEdit");
            pages->setCurrentIndex(1);
            auto* list = control<QComboBox>(dialog, "cmbLanguages");
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
            click(dialog, "btnEditLanguage");
            QVERIFY(!editor->isReadOnly());
            QCOMPARE(editor->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
            editor->moveCursor(QTextCursor::End);
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, "343 Minuten");
            click(dialog, "btnSave");
            click(dialog, "btnApply");
            applied << dialog.windowTitle() << pages->tabText(0) << pages->tabText(1)
                    << control<QLabel>(dialog, "lblMins")->text()
                    << enabledStates(dialog, {"btnSave", "btnApply"});
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }));
        QCOMPARE(applied, QStringList({"Einstellungen", "Allgemein", "Sprache", "Minuten", "-btnSave", "-btnApply"}));
        QCOMPARE(window.form.questions, QStringList({"Save changes?"}));
        QCOMPARE(readFile(german), shipped + "343 Minuten\r\n");
    }
};

} // namespace

int runPreferencesFormTests(int argc, char** argv)
{
    PreferencesFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PreferencesFormTest.moc"
