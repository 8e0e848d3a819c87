#include "GuiTest.h"

#include "gui/QtText.h"
#include "platform/FileIO.h"
#include "settings/Preferences.h"
#include "support/LibraryFiles.h"

namespace velloria::test {

SampleWindow::SampleWindow(const Adjust& adjust)
{
    const std::vector<Link> work = {
        {"Velloria home", "https://velloria.example/", "2024.5.1", "2023.1.2", "Where it all starts"},
        {"Mail", "https://mail.example/", "", "2022.7.8", "Daily"},
        {"Wiki", "https://wiki.example/", "2024.6.1", "2021.3.4", "Team notes"}};
    const Link cafe{"Caf\xE9 Central", "https://cafe.example/", "2024.2.3", "2020.1.1", "Best in town"};
    const Link forum{"Old forum", "www.forum.example/board", "", "2019.4.5", "Read only"};
    writeLibrary(home, {.tree = {"Main", "\tRecipes", "\tCaf\xE9", "Work", "\tProjects", "\t\tVelloria", "\tArchive"},
                        .descriptions = {"Work", "Things for the office", "Caf\xE9", "Coffee places"},
                        .links = {{"Work", work}, {"Caf\xE9", {cafe}}, {"Archive", {forum}}}});
    home.write("foldst.wnf", crlf({"0", "True", "False", "2", "False", "True"}));
    writeSamplePreferences(home, adjust);
}

void writeSamplePreferences(const TempHome& home, const Adjust& adjust)
{
    TPreferences prefs;
    SetDefaultPreferences(prefs, home.path());
    prefs.SortMode = 0;
    prefs.MainLeft = 40;
    prefs.MainTop = 30;
    prefs.MainWidth = 760;
    prefs.MainHeight = 520;
    prefs.ColumnWidthTitle = 150;
    prefs.ColumnWidthAddress = 260;
    prefs.ColumnWidthLastVisit = 90;
    prefs.ColumnWidthAddDate = 90;
    prefs.FolderPaneWidth = 210;
    prefs.DescriptionHeight = 80;
    if (adjust)
        adjust(prefs);
    writeFileAtomically(home.path() / "Tessel.cfg", writePreferencesFile(prefs));
}

bool preferencesHold(const TempHome& home, const std::string& line)
{
    return readFile(home.path() / "Tessel.cfg").find("\r\n" + line + "\r\n") != std::string::npos;
}

QString SampleWindow::opened() const
{
    QStringList targets;
    for (const std::string& target : browser.opened)
        targets << tilde(toQString(target));
    return targets.join(QStringLiteral("; "));
}

QModelIndex SampleWindow::folderItem(const QString& path) const
{
    QModelIndex item;
    for (const QString& name : path.split(u'/'))
        item = folderModel()->match(folderModel()->index(0, 0, item), Qt::DisplayRole, name, 1, Qt::MatchExactly)
                   .value(0);
    return item;
}

bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QStringList treeLines(const QAbstractItemModel& model, const QModelIndex& parent, int depth)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex item = model.index(row, 0, parent);
        lines << QString(depth * 2, u' ') + item.data().toString() << treeLines(model, item, depth + 1);
    }
    return lines;
}

QStringList rowLines(const QAbstractItemModel& model)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        lines << cells.join(QStringLiteral(" | "));
    }
    return lines;
}

QStringList headerCaptions(const QAbstractItemModel& model)
{
    QStringList captions;
    for (int column = 0; column < model.columnCount(); ++column)
        captions << model.headerData(column, Qt::Horizontal).toString();
    return captions;
}

// A modal window that no test answers and that is still open two seconds later fails the running
// test, named by its caption and text, and is closed, so that the test goes on instead of hanging.
class ModalWatchdog : public QObject {
public:
    ModalWatchdog()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::look);
        m_timer.start(100);
    }

private:
    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || answeredDialogs.contains(modal)) {
            m_seen = nullptr;
            return;
        }
        // A busy machine may show a dialog late to the test that answers it: two seconds of grace.
        if (modal != m_seen || ++m_looks < 20) {
            m_looks = modal != m_seen ? 0 : m_looks;
            m_seen = modal;
            return;
        }
        const QString message = "an unexpected dialog: " + dialogText(*modal);
        if (QTest::currentTestFunction())
            QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        else
            qCritical("%s", qPrintable(message));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        m_seen = nullptr;
    }

    QTimer m_timer;
    QPointer<QWidget> m_seen;
    int m_looks = 0;
};

std::unique_ptr<QObject> unexpectedDialogWatchdog()
{
    return std::make_unique<ModalWatchdog>();
}

} // namespace velloria::test
