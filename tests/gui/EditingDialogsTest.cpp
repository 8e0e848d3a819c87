// The editing dialogs of the main window (new item, edit item, delete confirmation) driven with
// the mouse and the keys, and folders dragged onto folders in the tree.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/DelMesForm.h"
#include "gui/EditItemForm.h"
#include "gui/NewItemForm.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include <memory>

using namespace velloria;
using namespace velloria::test;

namespace {

// Names of the enabled controls among those given.
QStringList enabledControls(QWidget& dialog, const QStringList& names)
{
    QStringList enabled;
    for (const QString& name : names)
        if (dialog.findChild<QWidget*>(name)->isEnabled())
            enabled << name;
    return enabled;
}

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
    void theItemTypeDecidesWhichFieldsAreOpenAndTheTabOrder()
    {
        SampleWindow window;
        window.start();
        const QStringList switches{"rdbFolder", "rdbURL", "edAddress", "chkAddFolderInFolder"};
        QStringList shown;
        QVERIFY(answerDialog<NewItemForm>([&] { window.trigger("EditAddUrl"); }, [&](NewItemForm& dialog) {
            shown << enabledControls(dialog, switches).join(u',') << tabStops(dialog, 5).join(u',');
            click(dialog, "rdbFolder");
            control(dialog, "edTitle")->setFocus();
            shown << enabledControls(dialog, switches).join(u',') << tabStops(dialog, 5).join(u',');
            click(dialog, "chkAddFolderInFolder"); // unticked: beside the selected folder
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Bakeries"));
            QTest::keyClick(control(dialog, "rdbFolder"), Qt::Key_Enter, Qt::KeypadModifier);
        }));
        QCOMPARE(shown, QStringList({"rdbFolder,rdbURL,edAddress", "edTitle,edAddress,memDescription,btnOK,btnCancel",
                                     "rdbFolder,rdbURL,chkAddFolderInFolder",
                                     "edTitle,memDescription,chkAddFolderInFolder,btnOK,btnCancel"}));
        QCOMPARE(treeLines(*window.folderModel()).mid(0, 4), QStringList({"Main", "  Recipes", "  Café", "  Bakeries"}));
        QVERIFY(!window.model.prefs().AddFolderInFolder);
    }

    // Enter in the description confirms instead of breaking the line, and a link without an
    // address keeps the dialog open; OK closes it all the same. A pasted text is one line.
    void theFieldsReachTheLinkAndEnterNeedsAnAddress()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QApplication::clipboard()->setText(QStringLiteral("Morning\nread"));
        bool openAfterEnter = false;
        QVERIFY(answerDialog<NewItemForm>([&] { window.trigger("EditAddUrl"); }, [&](NewItemForm& dialog) {
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("News"));
            auto* description = control<QPlainTextEdit>(dialog, "memDescription");
            QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(description, Qt::Key_Return);
            openAfterEnter = dialog.isVisible();
            QCOMPARE(description->toPlainText(), QStringLiteral("Morning read"));
            QTest::keyClicks(control(dialog, "edAddress"), QStringLiteral("https://news.example/"));
            QTest::keyClick(description, Qt::Key_Return);
        }));
        QVERIFY(openAfterEnter);
        QCOMPARE(window.selectedTitles(), QStringLiteral("News"));
        QVERIFY(window.home.read("Links/Work.wnl").find(crlf({"0 News", "1 https://news.example/", "2  ", "3 2024.6.1",
                                                              "4 Morning read"}))
                != std::string::npos);

        const auto before = window.home.snapshot();
        QVERIFY(answerDialog<NewItemForm>([&] { window.trigger("EditAddUrl"); }, [&](NewItemForm& dialog) {
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Draft"));
            click(dialog, "btnOK");
        }));
        QVERIFY(window.home.snapshot() == before);
    }

    void editingShowsTheItemAndSelectsTheDescriptionOnEntering()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        window.model.list().selectRows({2}, 2);
        QStringList shown;
        QVERIFY(answerDialog<EditItemForm>([&] { window.trigger("EditEditItem"); }, [&](EditItemForm& dialog) {
            auto* address = control<QLineEdit>(dialog, "edAddress");
            shown << control<QLineEdit>(dialog, "edTitle")->text() << address->text();
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Team wiki")); // replaces the selected title
            address->setFocus();
            QTest::keyClick(address, Qt::Key_Tab);
            shown << control<QPlainTextEdit>(dialog, "memDescription")->textCursor().selectedText();
            QTest::keyClick(address, Qt::Key_Return);
        }));
        QCOMPARE(shown, QStringList({"Wiki", "https://wiki.example/", "Team notes"}));
        QCOMPARE(rowLines(*window.linkModel()).value(1),
                 QStringLiteral("Team wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"));

        // A folder has no address, and a name that cleans to nothing keeps the dialog open.
        window.model.tree().selectFolder(6);
        window.model.tree().trvFoldersEnter();
        QVERIFY(answerDialog<EditItemForm>([&] { window.trigger("EditEditItem"); }, [&](EditItemForm& dialog) {
            QVERIFY(!control(dialog, "edAddress")->isEnabled());
            control<QLineEdit>(dialog, "edTitle")->setText(QStringLiteral(" :* "));
            click(dialog, "btnOK");
            QVERIFY(dialog.isVisible());
            control<QLineEdit>(dialog, "edTitle")->setText(QStringLiteral("Old stuff"));
            QTest::keyClick(control(dialog, "memDescription"), Qt::Key_Return);
        }));
        QCOMPARE(treeLines(*window.folderModel()).last(), QStringLiteral("  Old stuff"));
    }

    void theDeleteConfirmationListsTheItemsAndItsBoxStopsTheQuestion()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        QString listed;
        QVERIFY(answerDialog<DelMesForm>([&] { window.trigger("EditDelete"); }, [&](DelMesForm& dialog) {
            listed = control<QPlainTextEdit>(dialog, "memDelItems")->toPlainText();
            QVERIFY(!control<QCheckBox>(dialog, "chkShowDialog")->isChecked());
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return); // Yes
        }));
        QCOMPARE(listed, QStringLiteral("Mail (Bookmark)"));
        QCOMPARE(window.linkModel()->rowCount(), 2);

        QVERIFY(answerDialog<DelMesForm>([&] { window.trigger("EditDelete"); }, [&](DelMesForm& dialog) {
            click(dialog, "chkShowDialog");
            click(dialog, "btnNo");
        }));
        QCOMPARE(window.linkModel()->rowCount(), 2);
        const ModalAnswerer<> asked;
        window.trigger("EditDelete");
        QCOMPARE(asked.shown, QStringList());
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
        QCOMPARE(window.home.read("folders.wnf"), window.home.read("folders.~wnf"));

        const std::unique_ptr<QMimeData> archive(folders.mimeData({window.folderItem("Work/Archive")}));
        QVERIFY(dragOnto(window, *archive, "Main/Recipes"));
        QCOMPARE(treeLines(folders), QStringList({"Main", "  Recipes", "    Archive", "  Café", "Work", "  Projects",
                                                  "    Velloria"}));
        QCOMPARE(window.currentFolder(), QStringLiteral("Recipes"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main/Recipes")));
        QCOMPARE(window.home.read("folders.wnf"),
                 crlf({"Main", "\tRecipes", "\t\tArchive", "\tCaf\xE9", "Work", "\tProjects", "\t\tVelloria"}));
        QVERIFY(!(window.linkModel()->flags(window.linkModel()->index(0, 0)) & Qt::ItemIsDragEnabled)); // links stay
    }
};

} // namespace

VELLORIA_GUI_TEST(EditingDialogsTest)
#include "EditingDialogsTest.moc"
