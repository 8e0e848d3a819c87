// Find, Find Again and Statistics as the window shows them: the marked characters of a match,
// the drop-down of the texts searched for, the notice of a text found nowhere, the figures.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/FindForm.h"
#include "gui/StatisticsForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <filesystem>

using namespace velloria;
using namespace velloria::test;

namespace {

// Recipes gets two links whose titles hold characters of two and four UTF-8 bytes, the second
// one outside the Basic Multilingual Plane (two UTF-16 units).
void writeRecipes(const TempHome& home)
{
    const std::string recipes = crlf({"0 Tea \xF0\x9F\x8D\xB5 and crème", "1 https://tea.example/", "2 ", "3 2020.1.2",
                                      "4 Steeped", "0 Café Crème", "1 https://creme.example/", "2 ", "3 2020.1.1",
                                      "4 Smooth"});
    home.write("Links/Recipes.wnl", recipes);
    home.write("Links/Recipes.~wnl", recipes);
}

QComboBox* textField(FindForm& dialog)
{
    return control<QComboBox>(dialog, "cmbTextToFind");
}

// Opens Find and answers it. Returns what it showed: "the drop-down's entries / the field's text".
QString findWith(SampleWindow& window, const std::function<void(FindForm&)>& answer)
{
    QString shown;
    const bool closed = answerDialog<FindForm>([&] { window.trigger("EditFind"); }, [&](FindForm& dialog) {
        for (int i = 0; i < textField(dialog)->count(); ++i)
            shown += (i > 0 ? ", " : "") + textField(dialog)->itemText(i);
        shown += " / " + textField(dialog)->currentText();
        answer(dialog);
    });
    return closed ? shown : shown + " (left open)";
}

// Types the text in place of the selected one (QTest::keyClicks types ASCII only) and presses key.
QString find(SampleWindow& window, const QString& text, Qt::Key key = Qt::Key_Return)
{
    return findWith(window, [&](FindForm& dialog) {
        textField(dialog)->lineEdit()->insert(text);
        QTest::keyClick(textField(dialog), key);
    });
}

// What the description pane marks, "text @ anchor-position" in UTF-16 units, in selection colours.
QString marked(const SampleWindow& window)
{
    const auto* pane = window.form.findChild<QPlainTextEdit*>(QStringLiteral("memDescr"));
    const QPalette& palette = pane->palette();
    QStringList marks;
    for (const QTextEdit::ExtraSelection& mark : pane->extraSelections()) {
        const bool selectionColours =
            mark.format.background().color() == palette.color(QPalette::Active, QPalette::Highlight)
            && mark.format.foreground().color() == palette.color(QPalette::Active, QPalette::HighlightedText);
        marks << QStringLiteral("%1 @ %2-%3%4")
                     .arg(mark.cursor.selectedText())
                     .arg(mark.cursor.anchor())
                     .arg(mark.cursor.position())
                     .arg(selectionColours ? "" : " (not in selection colours)");
    }
    return marks.join(QStringLiteral("; "));
}

// The statistics lines; a field that could pass for an input field is marked.
QStringList figures(QWidget& dialog)
{
    QStringList lines;
    for (const char* name : {"edFolders", "edLinks", "edDatabaseSize", "edFreeSpace"}) {
        const auto* field = control<QLineEdit>(dialog, name);
        const bool shownOnly =
            field->isReadOnly() && field->palette().color(QPalette::Base) == field->palette().color(QPalette::Button);
        lines << field->text() + (shownOnly ? "" : " (input?)");
    }
    return lines;
}

class ToolDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void findMarksExactlyTheMatchedCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("findAgain"); // F3 presses after the dialog
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("mark");
        QTest::newRow("Windows-1252") << "CENTRAL" << 0 << "Café Central" << "Central @ 12-19";
        QTest::newRow("UTF-8") << "crè" << 0 << "Café Crème" << "Crè @ 12-15";
        QTest::newRow("beyond the BMP") << "And Crème" << 0 << "Tea 🍵 and crème" << "and crème @ 14-23";
        QTest::newRow("found again") << "crè" << 1 << "Tea 🍵 and crème" << "crè @ 18-21";
    }

    void findMarksExactlyTheMatchedCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, findAgain);
        QFETCH(QString, row);
        SampleWindow window;
        writeRecipes(window.home);
        window.start();
        QVERIFY(showActive(window.form));
        window.folderView()->setFocus();
        QVERIFY(!find(window, text).endsWith("(left open)"));
        // The list takes the focus when the window is active again; the mark stays.
        QVERIFY(showActive(window.form));
        QTRY_VERIFY(window.linkView()->hasFocus());
        for (int i = 0; i < findAgain; ++i)
            QTest::keyClick(window.linkView(), Qt::Key_F3);
        QCOMPARE(window.selectedTitles(), row);
        QCOMPARE(window.description(), "Title: " + row);
        QTEST(marked(window), "mark");
        window.model.tree().selectFolder(3);
        QCOMPARE(marked(window), QString());
    }

    void theDropDownListsTheSearchedTextsNewestFirst()
    {
        SampleWindow window;
        window.start();
        QStringList shown{find(window, QStringLiteral("wiki"))};
        shown << find(window, QStringLiteral("  mail "), Qt::Key_Enter);
        QCOMPARE(window.selectedTitles(), QStringLiteral("Mail"));
        // The older text, picked from the list, moves to the top.
        shown << findWith(window, [](FindForm& dialog) {
            QCOMPARE(dialog.focusWidget(), textField(dialog));
            QVERIFY(control<QPushButton>(dialog, "btnOK")->isDefault());
            textField(dialog)->setCurrentIndex(1);
            click(dialog, "btnOK");
        });
        QCOMPARE(window.selectedTitles(), QStringLiteral("Wiki"));
        // Cancelled, a text is neither searched for nor kept.
        shown << find(window, QStringLiteral("velloria"), Qt::Key_Escape);
        shown << findWith(window, [](FindForm& dialog) { click(dialog, "btnCancel"); });
        QCOMPARE(window.selectedTitles(), QStringLiteral("Wiki"));
        QCOMPARE(shown, QStringList({" / ", "wiki / wiki", "mail, wiki / mail", "wiki, mail / wiki",
                                     "wiki, mail / wiki"}));
    }

    void aTextFoundNowhereIsAWarningWithOneButton()
    {
        SampleWindow window;
        window.start();
        window.form.showMessages = true;
        QString buttons;
        const ModalAnswerer<QMessageBox> answerer([&](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons())
                buttons += button->text();
            buttons += box.icon() == QMessageBox::Warning ? " !" : " ?";
        });
        find(window, QStringLiteral("zebra"));
        QCOMPARE(answerer.shown, QStringList({"Velloria: Search text is not found"}));
        QCOMPARE(buttons, QStringLiteral("OK !"));
    }

    void statisticsShowsTheFiguresAndAnErrorOverThem()
    {
        SampleWindow window;
        writeRecipes(window.home);
        window.start();
        QStringList shown;
        QVERIFY(answerDialog<StatisticsForm>([&] { window.trigger("ToolsStatistics"); }, [&](StatisticsForm& dialog) {
            shown = figures(dialog);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
        }));
        QCOMPARE(shown.mid(0, 2), QStringList({"Folders: 7", "Bookmarks: 7"}));
        QVERIFY2(shown.value(2).contains(QRegularExpression("^Database Size: \\d+ k$")), qPrintable(shown.value(2)));
        QVERIFY2(shown.value(3).contains(QRegularExpression("^Free Space: -?\\d.* k$")), qPrintable(shown.value(3)));

        std::filesystem::remove(window.home.links() / "Work.wnl");
        std::filesystem::create_directory(window.home.links() / "Work.wnl");
        QStringList underneath;
        const ModalAnswerer<QMessageBox> answerer([&](QMessageBox&) { // over the dialog
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* statistics = qobject_cast<StatisticsForm*>(top); statistics && statistics->isVisible()) {
                    underneath = figures(*statistics);
                    QTimer::singleShot(0, statistics, &QDialog::reject); // once the box is gone
                }
        });
        window.trigger("ToolsStatistics");
        QCOMPARE(answerer.shown.size(), 1);
        const QString error = answerer.shown.value(0);
        QVERIFY2(error.startsWith("Velloria: Cannot open file") && error.contains("Work.wnl"), qPrintable(error));
        QCOMPARE(underneath, QStringList({"Folders: 7", "Links:", "Database Size:", "Free Space:"}));
    }
};

} // namespace

VELLORIA_GUI_TEST(ToolDialogsTest)
#include "ToolDialogsTest.moc"
