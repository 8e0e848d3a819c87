// The editing dialogs of the main window (new item, edit item, delete confirmation), driven as
// the user drives them, and folders dragged onto folders in the tree.

#include "DialogDriving.h"
#include "GuiTests.h"
#include "SampleLibrary.h"
#include "gui/DelMesForm.h"
#include "gui/EditItemForm.h"
#include "gui/NewItemForm.h"
#include "tools/Sort.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

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

// The controls that Tab visits from the focused one, as far as the given count.
QStringList tabStops(QWidget& dialog, int count)
{
    QStringList stops{dialog.focusWidget()->objectName()};
    for (int i = 1; i < count; ++i) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        stops << dialog.focusWidget()->objectName();
    }
    return stops;
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

QString selectedRowText(const SampleWindow& window)
{
    const QModelIndexList rows = window.linkView()->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().data().toString() : QStringLiteral("<%1 rows>").arg(rows.size());
}

class EditingDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void aNewFolderTakesTheCleanedNameAndIsSelected()
    {
        SampleWindow window;
        window.start();
        QVERIFY(showActive(window.form));
        window.folderView()->setFocus();
        QStringList shown;
        QVERIFY(answerDialog<NewItemForm>([&] { window.action("EditAddFolder")->trigger(); }, [&](NewItemForm& dialog) {
            shown = captions(dialog);
            QVERIFY(control<QRadioButton>(dialog, "rdbFolder")->isChecked());
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Tea/Time?"));
            QTest::keyClick(control(dialog, "edTitle"), Qt::Key_Return);
        }));
        QCOMPARE(shown, QStringList({"Add New Item", "grbItemType: Item Type", "rdbFolder: Folder", "rdbURL: Bookmark",
                                     "lblTitle: Title:", "lblAddress: Address:", "lblDescription: Description:",
                                     "chkAddFolderInFolder: Add the new folder inside folder being selected",
                                     "btnOK: OK", "btnCancel: Cancel"}));
        QCOMPARE(treeLines(*window.folderModel()),
                 QStringList({"Main", "  Recipes", "  Café", "    TeaTime", "Work", "  Projects", "    Velloria",
                              "  Archive"}));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("TeaTime"));
        QCOMPARE(window.home.read("folders.wnf"),
                 crlf({"Main", "\tRecipes", "\tCaf\xE9", "\t\tTeaTime", "Work", "\tProjects", "\t\tVelloria",
                       "\tArchive"}));
        QCOMPARE(window.home.read("Links/TeaTime.wnl"), std::string());
    }

    void theItemTypeDecidesWhichFieldsAreOpenAndWhereTheFolderGoes()
    {
        SampleWindow window;
        window.start();
        const QStringList switches{"rdbFolder", "rdbURL", "edAddress", "chkAddFolderInFolder"};
        QStringList linkMode, folderMode, linkTabs, folderTabs;
        QVERIFY(answerDialog<NewItemForm>([&] { window.action("EditAddUrl")->trigger(); }, [&](NewItemForm& dialog) {
            QVERIFY(control<QRadioButton>(dialog, "rdbURL")->isChecked());
            linkMode = enabledControls(dialog, switches);
            linkTabs = tabStops(dialog, 5);
            QTest::mouseClick(control(dialog, "rdbFolder"), Qt::LeftButton);
            folderMode = enabledControls(dialog, switches);
            control(dialog, "edTitle")->setFocus();
            folderTabs = tabStops(dialog, 5);
            // Unticked, the new folder goes beside the selected one instead of into it.
            QTest::mouseClick(control(dialog, "chkAddFolderInFolder"), Qt::LeftButton);
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Bakeries"));
            QTest::keyClick(control(dialog, "rdbFolder"), Qt::Key_Enter, Qt::KeypadModifier);
        }));
        QCOMPARE(linkMode, QStringList({"rdbFolder", "rdbURL", "edAddress"}));
        QCOMPARE(linkTabs, QStringList({"edTitle", "edAddress", "memDescription", "btnOK", "btnCancel"}));
        QCOMPARE(folderMode, QStringList({"rdbFolder", "rdbURL", "chkAddFolderInFolder"}));
        QCOMPARE(folderTabs, QStringList({"edTitle", "memDescription", "chkAddFolderInFolder", "btnOK", "btnCancel"}));
        QCOMPARE(treeLines(*window.folderModel()).mid(0, 4),
                 QStringList({"Main", "  Recipes", "  Café", "  Bakeries"}));
        QVERIFY(!window.model.prefs().AddFolderInFolder);
    }

    void aNewLinkIsWrittenWithTodaysDateAndSelected()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        QApplication::clipboard()->setText(QStringLiteral("Morning\nread"));
        QVERIFY(answerDialog<NewItemForm>([&] { window.action("EditAddUrl")->trigger(); }, [&](NewItemForm& dialog) {
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("News"));
            QTest::keyClicks(control(dialog, "edAddress"), QStringLiteral("https://news.example/"));
            auto* description = control<QPlainTextEdit>(dialog, "memDescription");
            QTest::keyClick(description, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(description->toPlainText(), QStringLiteral("Morning read"));
            QTest::mouseClick(control(dialog, "btnOK"), Qt::LeftButton);
        }));
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Mail | https://mail.example/ |  | 2022.7.8",
                              "News | https://news.example/ |   | 2024.6.1", // a blank last visit
                              "Velloria home | https://velloria.example/ | 2024.5.1 | 2023.1.2",
                              "Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"}));
        QCOMPARE(selectedRowText(window), QStringLiteral("News"));
        QVERIFY(window.home.read("Links/Work.wnl").find(crlf({"0 News", "1 https://news.example/", "2  ", "3 2024.6.1",
                                                              "4 Morning read"}))
                != std::string::npos);
    }

    void aLinkWithoutAddressKeepsTheDialogOpenOnEnterAndAddsNothingOnOk()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        const auto before = window.home.snapshot();
        bool openAfterEnter = false;
        QVERIFY(answerDialog<NewItemForm>([&] { window.action("EditAddUrl")->trigger(); }, [&](NewItemForm& dialog) {
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Draft"));
            QTest::keyClick(control(dialog, "memDescription"), Qt::Key_Return);
            openAfterEnter = dialog.isVisible();
            QCOMPARE(control<QPlainTextEdit>(dialog, "memDescription")->toPlainText(), QString());
            QTest::mouseClick(control(dialog, "btnOK"), Qt::LeftButton);
        }));
        QVERIFY(openAfterEnter);
        QCOMPARE(window.linkModel()->rowCount(), 3);
        QVERIFY(window.home.snapshot() == before);
    }

    void editingALinkChangesTheListAndTheFile()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        window.model.list().selectRows({2}, 2);
        QStringList shown;
        QString selectedOnEntering;
        const auto editItem = [&] { window.action("EditEditItem")->trigger(); };
        QVERIFY(answerDialog<EditItemForm>(editItem, [&](EditItemForm& dialog) {
            shown = captions(dialog);
            auto* address = control<QLineEdit>(dialog, "edAddress");
            shown << control<QLineEdit>(dialog, "edTitle")->text() << address->text()
                  << control<QPlainTextEdit>(dialog, "memDescription")->toPlainText();
            QTest::keyClicks(control(dialog, "edTitle"), QStringLiteral("Team wiki")); // replaces the selected title
            address->setFocus();
            QTest::keyClick(address, Qt::Key_Tab);
            selectedOnEntering = control<QPlainTextEdit>(dialog, "memDescription")->textCursor().selectedText();
            address->selectAll();
            QTest::keyClicks(address, QStringLiteral("https://team.example/"));
            QTest::keyClick(address, Qt::Key_Return);
        }));
        QCOMPARE(shown, QStringList({"Edit Item", "lblTitle: Title:", "lblAddress: Address:",
                                     "lblDescription: Description:", "btnOK: OK", "btnCancel: Cancel", "Wiki",
                                     "https://wiki.example/", "Team notes"}));
        QCOMPARE(selectedOnEntering, QStringLiteral("Team notes"));
        QCOMPARE(rowLines(*window.linkModel()).value(1),
                 QStringLiteral("Team wiki | https://team.example/ | 2024.6.1 | 2021.3.4"));
        QCOMPARE(selectedRowText(window), QStringLiteral("Team wiki"));
        QVERIFY(window.home.read("Links/Work.wnl").find(crlf({"0 Team wiki", "1 https://team.example/", "2 2024.6.1",
                                                              "3 2021.3.4", "4 Team notes"}))
                != std::string::npos);
    }

    void editingAFolderRenamesItsFileAndRefusesAnEmptyName()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(6);
        window.model.tree().trvFoldersEnter();
        bool addressEnabled = true;
        bool openAfterEmptyName = false;
        const auto editItem = [&] { window.action("EditEditItem")->trigger(); };
        QVERIFY(answerDialog<EditItemForm>(editItem, [&](EditItemForm& dialog) {
            addressEnabled = control(dialog, "edAddress")->isEnabled();
            auto* title = control<QLineEdit>(dialog, "edTitle");
            title->setText(QStringLiteral(" :* "));
            QTest::mouseClick(control(dialog, "btnOK"), Qt::LeftButton);
            openAfterEmptyName = dialog.isVisible();
            title->setText(QStringLiteral("Old stuff"));
            QTest::keyClick(control(dialog, "memDescription"), Qt::Key_Return);
        }));
        QVERIFY(!addressEnabled);
        QVERIFY(openAfterEmptyName);
        QCOMPARE(treeLines(*window.folderModel()).last(), QStringLiteral("  Old stuff"));
        QVERIFY(!window.home.exists("Links/Archive.wnl"));
        QVERIFY(window.home.read("Links/Old stuff.wnl").starts_with("0 Old forum\r\n"));
    }

    void deletingAsksFirstUnlessTheUserSaidNotTo()
    {
        SampleWindow window;
        window.start();
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        QStringList listed;
        QVERIFY(answerDialog<DelMesForm>([&] { window.action("EditDelete")->trigger(); }, [&](DelMesForm& dialog) {
            listed << control<QPlainTextEdit>(dialog, "memDelItems")->toPlainText();
            listed << QString::number(control<QCheckBox>(dialog, "chkShowDialog")->isChecked());
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        }));
        QCOMPARE(listed, QStringList({"Mail (Bookmark)", "0"}));
        QCOMPARE(window.linkModel()->rowCount(), 2);
        QVERIFY(window.home.read("Links/Work.wnl").find("0 Mail\r\n") == std::string::npos);

        // No, with the box ticked: nothing goes, and the next Delete does not ask.
        const std::string work = window.home.read("Links/Work.wnl");
        QVERIFY(answerDialog<DelMesForm>([&] { window.action("EditDelete")->trigger(); }, [&](DelMesForm& dialog) {
            QTest::mouseClick(control(dialog, "chkShowDialog"), Qt::LeftButton);
            QTest::mouseClick(control(dialog, "btnNo"), Qt::LeftButton);
        }));
        QCOMPARE(window.linkModel()->rowCount(), 2);
        QCOMPARE(window.home.read("Links/Work.wnl"), work);
        bool asked = false;
        QObject context;
        QTimer::singleShot(0, &context, [&] { asked = QApplication::activeModalWidget() != nullptr; });
        window.action("EditDelete")->trigger();
        QVERIFY(!asked);
        QCOMPARE(rowLines(*window.linkModel()), QStringList({"Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4"}));
    }

    void undoBringsTheDeletedLinkBackAtTheEndSelected()
    {
        SampleWindow window;
        writeSamplePreferences(window.home, [](TPreferences& prefs) {
            prefs.ConfirmDeleting = false;
            prefs.SortMode = static_cast<int>(SortMode::Unsorted);
        });
        window.start();
        window.model.tree().selectFolder(3);
        QVERIFY(showActive(window.form));
        window.linkView()->setFocus();
        QCOMPARE(selectedRowText(window), QStringLiteral("Velloria home"));
        window.action("EditDelete")->trigger();
        QCOMPARE(window.linkModel()->rowCount(), 2);
        QTest::keyClick(window.linkView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rowLines(*window.linkModel()),
                 QStringList({"Mail | https://mail.example/ |  | 2022.7.8",
                              "Wiki | https://wiki.example/ | 2024.6.1 | 2021.3.4",
                              "Velloria home | https://velloria.example/ | 2024.5.1 | 2023.1.2"}));
        QCOMPARE(selectedRowText(window), QStringLiteral("Velloria home"));
        QVERIFY(window.home.read("Links/Work.wnl")
                    .ends_with(crlf({"0 Velloria home", "1 https://velloria.example/", "2 2024.5.1", "3 2023.1.2",
                                     "4 Where it all starts"})));
    }

    void theDialogsTakeTheirTextsFromTheLanguage()
    {
        SampleWindow window;
        window.home.write("Deutsch.lng", crlf({"000 1.0", "001 Deutsch", "310 L\xC3\xB6schen", "313 Gut",
                                               "314 Ja", "315 Nein", "316 Wirklich l\xC3\xB6schen?",
                                               "317 Nicht mehr fragen", "312 Abbrechen", "318 Bearbeiten"}));
        const std::string language = (window.home.refLib() / "Deutsch.lng").string();
        writeSamplePreferences(window.home, [&](TPreferences& prefs) { prefs.LanguageFile = language; });
        window.start();
        window.model.tree().selectFolder(3);
        window.model.list().lvReferencesEnter();
        QStringList deleting, editing;
        answerDialog<DelMesForm>([&] { window.action("EditDelete")->trigger(); },
                                 [&](DelMesForm& dialog) { deleting = captions(dialog); });
        answerDialog<EditItemForm>([&] { window.action("EditEditItem")->trigger(); },
                                   [&](EditItemForm& dialog) { editing = captions(dialog); });
        QCOMPARE(deleting, QStringList({"Löschen", "lblDelItems: Wirklich löschen?",
                                        "chkShowDialog: Nicht mehr fragen", "btnYes: Ja", "btnNo: Nein"}));
        // The OK button is not in the table: it keeps its own text.
        QCOMPARE(editing, QStringList({"Bearbeiten", "lblTitle: Title:", "lblAddress: Address:",
                                       "lblDescription: Description:", "btnOK: OK", "btnCancel: Abbrechen"}));
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
        const std::string tree = window.home.read("folders.wnf");
        QVERIFY(!dragOnto(window, *work, "Work"));
        QVERIFY(!dragOnto(window, *work, "Work/Projects/Velloria"));
        QVERIFY(!dragOnto(window, foreign, "Main"));
        QCOMPARE(window.home.read("folders.wnf"), tree);

        const std::unique_ptr<QMimeData> archive(folders.mimeData({window.folderItem("Work/Archive")}));
        QVERIFY(dragOnto(window, *archive, "Main/Recipes"));
        QCOMPARE(treeLines(folders), QStringList({"Main", "  Recipes", "    Archive", "  Café", "Work", "  Projects",
                                                  "    Velloria"}));
        QCOMPARE(window.folderView()->currentIndex().data().toString(), QStringLiteral("Recipes"));
        QVERIFY(window.folderView()->isExpanded(window.folderItem("Main/Recipes")));
        QCOMPARE(window.home.read("folders.wnf"),
                 crlf({"Main", "\tRecipes", "\t\tArchive", "\tCaf\xE9", "Work", "\tProjects", "\t\tVelloria"}));
        // Links are not dragged.
        QVERIFY(!(window.linkModel()->flags(window.linkModel()->index(0, 0)) & Qt::ItemIsDragEnabled));
    }
};

} // namespace

int runEditingDialogsTests(int argc, char** argv)
{
    EditingDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditingDialogsTest.moc"
