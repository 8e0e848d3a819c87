// Find, Find Again and Statistics: what the window shows of a match, the history of the texts
// searched for, a text that is nowhere in the library, and the figures of the library.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/FindForm.h"
#include "gui/StatisticsForm.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <cmath>
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

std::map<std::string, std::string> linkFiles(const TempHome& home)
{
    auto files = home.snapshot();
    std::erase_if(files, [](const auto& file) { return !file.first.starts_with("Links/"); });
    return files;
}

QComboBox* textField(FindForm& dialog)
{
    return control<QComboBox>(dialog, "cmbTextToFind");
}

// Types the text in place of the field's selected text, as the keyboard does. (QTest::keyClicks
// types ASCII only.)
void type(FindForm& dialog, const QString& text)
{
    textField(dialog)->lineEdit()->insert(text);
}

// Opens Find and answers it. Returns what it showed: "the drop-down's entries / the field's text".
QString findWith(SampleWindow& window, const std::function<void(FindForm&)>& answer)
{
    QString shown;
    const bool closed =
        answerDialog<FindForm>([&] { window.action("EditFind")->trigger(); }, [&](FindForm& dialog) {
            for (int i = 0; i < textField(dialog)->count(); ++i)
                shown += (i > 0 ? ", " : "") + textField(dialog)->itemText(i);
            shown += " / " + textField(dialog)->currentText();
            answer(dialog);
        });
    return closed ? shown : shown + " (left open)";
}

QString find(SampleWindow& window, const QString& text)
{
    return findWith(window, [&](FindForm& dialog) {
        type(dialog, text);
        QTest::keyClick(textField(dialog), Qt::Key_Return);
    });
}

// What the description pane marks: "text @ anchor-position" in the pane's UTF-16 positions.
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

QString selectedRows(const SampleWindow& window)
{
    QStringList titles;
    for (const QModelIndex& row : window.linkView()->selectionModel()->selectedRows())
        titles << row.data().toString();
    return titles.join(QStringLiteral(", "));
}

QString currentFolder(const SampleWindow& window)
{
    return window.folderView()->currentIndex().data().toString();
}

// The statistics lines; a field that could pass for an input field (not read-only, or not in
// the button face colour) is marked.
QStringList figures(QWidget& dialog)
{
    QStringList lines;
    for (const char* name : {"edFolders", "edLinks", "edDatabaseSize", "edFreeSpace"}) {
        const auto* field = control<QLineEdit>(dialog, name);
        const QPalette& palette = field->palette();
        const bool shownOnly = field->isReadOnly() && palette.color(QPalette::Base) == palette.color(QPalette::Button);
        lines << field->text() + (shownOnly ? "" : " (input?)");
    }
    return lines;
}

// The kilobytes of the library's files as they are on disk: the link files of the folders with
// their saved copies, the tree, the descriptions and the folder states.
long long libraryKilobytes(const TempHome& home)
{
    const QStringList topLevel{"folders.wnf", "folders.~wnf", "folddesc.wnf", "folddesc.~wnf", "foldst.wnf"};
    std::size_t bytes = 0;
    for (const auto& [path, content] : home.snapshot()) {
        const QString name = QString::fromStdString(path);
        if (topLevel.contains(name) || (name.startsWith("Links/") && name.contains(QRegularExpression("\\.~?wnl$"))))
            bytes += content.size();
    }
    return std::llround(static_cast<double>(bytes) / 1024.0);
}

class ToolDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void findMarksExactlyTheMatchedCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("mark");
        QTest::newRow("Windows-1252") << "CENTRAL" << "Café" << "Café Central" << "Title: Café Central"
                                      << "Central @ 12-19";
        QTest::newRow("UTF-8") << "crè" << "Recipes" << "Café Crème" << "Title: Café Crème" << "Crè @ 12-15";
        QTest::newRow("beyond the BMP") << "And Crème" << "Recipes" << "Tea 🍵 and crème" << "Title: Tea 🍵 and crème"
                                        << "and crème @ 14-23";
    }

    void findMarksExactlyTheMatchedCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, description);
        QFETCH(QString, mark);
        SampleWindow window;
        writeRecipes(window.home);
        window.start();
        QVERIFY(showActive(window.form));
        window.folderView()->setFocus();
        QVERIFY(!find(window, text).endsWith("(left open)"));
        QTEST(currentFolder(window), "folder");
        QTEST(selectedRows(window), "row");
        QCOMPARE(window.description(), description);
        QCOMPARE(marked(window), mark);
        // The list takes the focus when the window is active again (as the window manager makes
        // it once the dialog has gone); the mark stays.
        QVERIFY(showActive(window.form));
        QTRY_VERIFY(window.linkView()->hasFocus());
        QCOMPARE(window.description(), description);
        QCOMPARE(marked(window), mark);
        QVERIFY(window.form.messages.isEmpty());
    }

    void findAgainGoesOnToTheNextMatchAndStopsSilentlyAtTheEnd()
    {
        SampleWindow window;
        writeRecipes(window.home);
        window.start();
        find(window, QStringLiteral("crè"));
        QVERIFY(showActive(window.form));
        QCOMPARE(selectedRows(window), QStringLiteral("Café Crème"));
        QTest::keyClick(window.linkView(), Qt::Key_F3);
        QCOMPARE(currentFolder(window), QStringLiteral("Recipes"));
        QCOMPARE(selectedRows(window), QStringLiteral("Tea 🍵 and crème"));
        QCOMPARE(window.description(), QStringLiteral("Title: Tea 🍵 and crème"));
        QCOMPARE(marked(window), QStringLiteral("crè @ 18-21"));
        QTest::keyClick(window.linkView(), Qt::Key_F3);
        QVERIFY(window.form.messages.isEmpty());
        QTRY_VERIFY(window.folderView()->hasFocus());
    }

    void theDropDownListsTheSearchedTextsNewestFirst()
    {
        SampleWindow window;
        window.start();
        QStringList shown{find(window, QStringLiteral("wiki"))};
        shown << findWith(window, [](FindForm& dialog) {
            type(dialog, QStringLiteral("  mail "));
            QTest::mouseClick(control(dialog, "btnOK"), Qt::LeftButton);
        });
        QCOMPARE(selectedRows(window), QStringLiteral("Mail"));
        // The older text, picked from the list, moves to the top.
        shown << findWith(window, [](FindForm& dialog) {
            textField(dialog)->setCurrentIndex(1);
            QTest::keyClick(textField(dialog), Qt::Key_Enter, Qt::KeypadModifier);
        });
        QCOMPARE(selectedRows(window), QStringLiteral("Wiki"));
        // Cancelled, a text is neither searched for nor kept.
        shown << findWith(window, [](FindForm& dialog) {
            type(dialog, QStringLiteral("velloria"));
            QTest::keyClick(textField(dialog), Qt::Key_Escape);
        });
        shown << findWith(window, [](FindForm& dialog) {
            QTest::mouseClick(control(dialog, "btnCancel"), Qt::LeftButton);
        });
        QCOMPARE(selectedRows(window), QStringLiteral("Wiki"));
        QCOMPARE(shown, QStringList({" / ", "wiki / wiki", "mail, wiki / mail", "wiki, mail / wiki",
                                     "wiki, mail / wiki"}));
    }

    void aTextThatIsNowhereSaysSoAndChangesNoLinkFile()
    {
        SampleWindow window;
        window.start();
        const auto before = linkFiles(window.home);
        const QString description = window.description();
        find(window, QStringLiteral("zebra"));
        QCOMPARE(window.form.messages, QStringList({"Search text is not found"}));
        QCOMPARE(currentFolder(window), QStringLiteral("Café"));
        QCOMPARE(window.description(), description);
        QVERIFY(linkFiles(window.home) == before);

        // The notice itself: the program's caption, the exclamation icon and one OK button.
        window.form.showMessages = true;
        QString shown;
        const MessageBoxAnswerer answerer([&](QMessageBox& box) {
            QStringList buttons;
            for (QAbstractButton* button : box.buttons())
                buttons << button->text();
            const bool exclamation = box.icon() == QMessageBox::Warning;
            shown = QStringLiteral("[%1] %2").arg(buttons.join(u','), exclamation ? "!" : "?");
        });
        find(window, QStringLiteral("zebra"));
        QCOMPARE(answerer.boxes, QStringList({"Velloria: Search text is not found"}));
        QCOMPARE(shown, QStringLiteral("[OK] !"));
    }

    void statisticsShowsTheFourFiguresAndClosesWithOkOrEscape()
    {
        SampleWindow window;
        writeRecipes(window.home);
        window.start();
        const auto open = [&] { window.action("ToolsStatistics")->trigger(); };
        QStringList shown;
        QVERIFY(answerDialog<StatisticsForm>(open, [&](StatisticsForm& dialog) {
            shown = figures(dialog);
            QTest::mouseClick(control(dialog, "btnOk"), Qt::LeftButton);
        }));
        const QString databaseSize = QStringLiteral("Database Size: %1 k").arg(libraryKilobytes(window.home));
        QCOMPARE(shown.mid(0, 3), QStringList({"Folders: 7", "Bookmarks: 7", databaseSize}));
        QVERIFY2(shown.value(3).contains(QRegularExpression("^Free Space: -?\\d.* k$")), qPrintable(shown.value(3)));
        QVERIFY(answerDialog<StatisticsForm>(
            open, [](StatisticsForm& dialog) { QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape); }));
    }

    void statisticsReportsAnUnreadableLinkFileOverTheFilledDialog()
    {
        SampleWindow window;
        window.start();
        std::filesystem::remove(window.home.links() / "Work.wnl");
        std::filesystem::create_directory(window.home.links() / "Work.wnl");
        QStringList underneath;
        const MessageBoxAnswerer answerer([&](QMessageBox&) {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<StatisticsForm*>(top); dialog && dialog->isVisible())
                    underneath = figures(*dialog);
        });
        QObject context;
        QTimer::singleShot(0, &context, [&] {
            auto* dialog = qobject_cast<StatisticsForm*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto close = qScopeGuard([dialog] { dialog->accept(); });
            QTRY_COMPARE(answerer.boxes.size(), 1);
        });
        window.action("ToolsStatistics")->trigger();
        const QString error = answerer.boxes.value(0);
        QVERIFY2(error.startsWith("Velloria: Cannot open file") && error.contains("Work.wnl"), qPrintable(error));
        QCOMPARE(underneath, QStringList({"Folders: 7", "Links:", "Database Size:", "Free Space:"}));
    }

    void bothDialogsTakeTheirTextsFromTheLanguage()
    {
        SampleWindow window;
        window.home.write("Deutsch.lng", crlf({"000 1.0", "001 Deutsch", "312 Abbrechen", "313 Gut", "319 Suchen",
                                               "320 Gesuchter Text:", "332 Ordner:", "334 Lesezeichen:",
                                               "367 Statistik"}));
        const std::string language = (window.home.refLib() / "Deutsch.lng").string();
        writeSamplePreferences(window.home, [&](TPreferences& prefs) { prefs.LanguageFile = language; });
        window.start();
        QVERIFY(showActive(window.form));
        QStringList find, statistics;
        QVERIFY(answerDialog<FindForm>([&] { window.action("EditFind")->trigger(); }, [&](FindForm& dialog) {
            find = captions(dialog);
            // A box of fixed size, ready for typing.
            QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
            QCOMPARE(dialog.focusWidget(), textField(dialog));
            QVERIFY(control<QPushButton>(dialog, "btnOK")->isDefault());
            QTest::mouseClick(control(dialog, "btnCancel"), Qt::LeftButton);
        }));
        QVERIFY(answerDialog<StatisticsForm>([&] { window.action("ToolsStatistics")->trigger(); },
                                             [&](StatisticsForm& dialog) {
                                                 statistics = captions(dialog) + figures(dialog).mid(0, 2);
                                                 QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
                                             }));
        // Find's OK button is not in the table: it keeps its own text.
        QCOMPARE(find, QStringList({"Suchen", "lblTextToFind: Gesuchter Text:", "btnOK: OK", "btnCancel: Abbrechen"}));
        QCOMPARE(statistics, QStringList({"Statistik", "btnOk: Gut", "Ordner: 7", "Lesezeichen: 5"}));
    }
};

} // namespace

int runToolDialogsTests(int argc, char** argv)
{
    ToolDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ToolDialogsTest.moc"
