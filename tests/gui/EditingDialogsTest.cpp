// The editing dialogs of the main window (new item, delete confirmation) driven with the mouse
// and the keys, and folders dragged onto folders in the tree.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/DelMesForm.h"
#include "gui/NewItemForm.h"

#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include <memory>

using namespace velloria;
using namespace velloria::test;

namespace {

// Drags the data over the tree onto the target folder, as the window system delivers a drag,
// and drops it there when the tree takes it. Returns whether the tree took it.
bool dragOnto(SampleWindow& window, const QMimeData& data, const QString& target)
{
    QWidget* viewport = window.folderView()->viewport();
    const QPoint where = window.folderView()->visualRect(window.folderItem(target)).center();
    QDragEnterEvent enter(where, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(where, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
        return false;
    }
    QDropEvent drop(where, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}

class EditingDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // The item type opens the fields that Tab visits; Enter in the description confirms
    // instead of breaking the line, and a pasted text is one line.
    void theItemTypeDecidesTheOpenFieldsAndEnterConfirms()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QApplication::clipboard()->setText(QStringLiteral("Morning\nread"));
        QStringList shown;
        QVERIFY(answerDialog<NewItemForm>([&] { window.trigger("EditAddUrl"); }, [&](NewItemForm& dialog) {
            click(dialog, "rdbFolder");
            control(dialog, "edTitle")->setFocus();
            shown << tabStops(dialog, 5).join(u',');
            click(dialog, "rdbURL");
            control(dialog, "edTitle")->setFocus();
            shown << tabStops(dialog, 5).join(u',');
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("News"));
            QTest::keyClicks(control(dialog, "edAddress"), QStringLiteral("https://news.example/"));
            auto* description = control<QPlainTextEdit>(dialog, "memDescription");
            QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(description, Qt::Key_Return);
        }));
        QCOMPARE(shown, QStringList({"edTitle,memDescription,chkAddFolderInFolder,btnOK,btnCancel",
                                     "edTitle,edAddress,memDescription,btnOK,btnCancel"}));
        QCOMPARE(window.selectedTitles(), QStringLiteral("News"));
        const std::string links = window.home.read("Links/Work.wnl");
        QVERIFY(links.find("0 News\r\n1 https://news.example/\r\n") != std::string::npos);
        QVERIFY(links.find("4 Morning read\r\n") != std::string::npos);
    }

    // Return answers Yes; the ticked box stops the question even when the answer is No.
    void theDeleteConfirmationListsTheItemsAndItsBoxStopsTheQuestion()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        QString listed;
        QVERIFY(answerDialog<DelMesForm>([&] { window.trigger("EditDelete"); }, [&](DelMesForm& dialog) {
            listed = control<QPlainTextEdit>(dialog, "memDelItems")->toPlainText();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        }));
        QVERIFY(answerDialog<DelMesForm>([&] { window.trigger("EditDelete"); }, [&](DelMesForm& dialog) {
            click(dialog, "chkShowDialog");
            click(dialog, "btnNo");
        }));
        QCOMPARE(listed, QStringLiteral("Mail (Bookmark)"));
        QCOMPARE(window.linkModel()->rowCount(), 2);
        window.trigger("EditDelete");
        QCOMPARE(window.linkModel()->rowCount(), 1);
    }

    void aFolderDroppedOntoAnotherBecomesItsFirstChild()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        window.folderView()->expand(window.folderItem("Work"));
        window.folderView()->expand(window.folderItem("Work/Projects"));
        QAbstractItemModel& folders = *window.folderModel();
        const std::unique_ptr<QMimeData> work(folders.mimeData({window.folderItem("Work")}));
        QMimeData foreign; // another program's drag, dressed as a folder
        foreign.setData(folders.mimeTypes().value(0), "4");
        QVERIFY(!dragOnto(window, *work, "Work"));
        QVERIFY(!dragOnto(window, *work, "Work/Projects/Velloria"));
        QVERIFY(!dragOnto(window, foreign, "Main"));

        const std::unique_ptr<QMimeData> archive(folders.mimeData({window.folderItem("Work/Archive")}));
        QVERIFY(dragOnto(window, *archive, "Main/Recipes"));
        QCOMPARE(treeLines(folders), QStringList({"Main", "  Recipes", "    Archive", "  Café", "Work", "  Projects",
                                                  "    Velloria"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Recipes"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main/Recipes")));
        QVERIFY(!(window.linkModel()->flags(window.linkModel()->index(0, 0)) & Qt::ItemIsDragEnabled)); // links stay
    }
};

} // namespace

VELLORIA_GUI_TEST(EditingDialogsTest)
#include "EditingDialogsTest.moc"
