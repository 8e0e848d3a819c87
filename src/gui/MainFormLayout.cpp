// The remembered layout of the main window: its bounds, column widths, pane sizes and colours,
// applied from the preferences and measured for them.

#include "gui/MainForm.h"
#include "gui/QtColor.h"

#include <QApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>

#include <utility>

namespace velloria {

namespace {

// The strip at the top of a window by which it is taken and moved; it must lie on a screen.
constexpr int kTitleStrip = 24;

QRect boundsOf(const WindowGeometry& geometry)
{
    return {geometry.left, geometry.top, geometry.width, geometry.height};
}

QRect onScreen(QRect bounds)
{
    const QRect title(bounds.topLeft(), QSize(bounds.width(), kTitleStrip));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(title))
            return bounds;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    bounds.setSize(bounds.size().boundedTo(area.size()));
    bounds.moveCenter(area.center());
    return bounds;
}

void paint(QWidget& view, TColor background, TColor text)
{
    QPalette palette = QApplication::palette(&view);
    palette.setColor(QPalette::Base, toQColor(background, palette));
    palette.setColor(QPalette::Text, toQColor(text, palette));
    view.setPalette(palette);
}

// The highlighted item of a menu, and the button under the pointer in the toolbar, take the
// menu colours of the preferences: the item colour inside a frame of the frame colour.
QString menuStyleSheet(const TPreferences& prefs, const QPalette& palette)
{
    const auto name = [&](TColor colour) { return toQColor(colour, palette).name(); };
    return QStringLiteral(
               "QMenuBar::item { color: %3; background: transparent; border: 1px solid transparent; padding: 2px 6px; }"
               "QMenuBar::item:selected, QMenuBar::item:pressed { color: %4; background: %2; border-color: %1; }"
               "QMenu::item { color: %3; border: 1px solid transparent; padding: 4px 24px 4px 28px; }"
               "QMenu::item:selected { color: %4; background: %2; border-color: %1; }"
               "QMenu::item:disabled { color: %5; }"
               "QMenu::separator { height: 1px; background: %5; margin: 3px 6px; }"
               "QMenu::icon { padding-left: 6px; }"
               "QToolBar { spacing: 2px; }"
               "QToolBar QToolButton { border: 1px solid transparent; border-radius: 2px; padding: 2px; }"
               "QToolBar QToolButton:hover, QToolBar QToolButton:pressed { background: %2; border-color: %1; }")
        .arg(name(prefs.MenuItemFrameColor), name(prefs.MenuItemColor), name(prefs.MenuFontColor),
             name(prefs.MenuSelectedFontColor), palette.color(QPalette::Disabled, QPalette::WindowText).name());
}

} // namespace

MainForm::Layout MainForm::layoutOf(const TPreferences& prefs)
{
    return {.geometry = storedWindowGeometry(prefs),
            .colours = {prefs.MenuItemFrameColor, prefs.MenuItemColor, prefs.MenuFontColor,
                        prefs.MenuSelectedFontColor, prefs.TreeBackgroundColor, prefs.TreeFontColor,
                        prefs.ListBackgroundColor, prefs.ListFontColor}};
}

void MainForm::layoutPreferencesChanged()
{
    // The notice comes again when a bar is switched on or off, while the preferences still hold
    // the measures of the start. Only what changed is applied, so that the window stays where
    // the user has put it since.
    const TPreferences& prefs = m_model.prefs();
    const Layout wanted = layoutOf(prefs);
    const std::optional<Layout> before = std::exchange(m_appliedLayout, wanted);
    const WindowGeometry& now = wanted.geometry;
    const WindowGeometry* was = before ? &before->geometry : nullptr;
    showBars();
    if (!was || boundsOf(*was) != boundsOf(now) || was->maximized != now.maximized)
        placeWindow(wanted);
    if (!was || was->columnWidths != now.columnWidths)
        setColumnWidths(now.columnWidths);
    if (!was || was->folderPaneWidth != now.folderPaneWidth || was->descriptionHeight != now.descriptionHeight)
        setPaneSizes(now.folderPaneWidth, now.descriptionHeight);
    if (!before || before->colours != wanted.colours) {
        paintViews(prefs);
        styleMenus(prefs);
    }
}

void MainForm::coloursChanged()
{
    // Only the colours: the window keeps the place and the measures the user has given it.
    const TPreferences& prefs = m_model.prefs();
    if (m_appliedLayout)
        m_appliedLayout->colours = layoutOf(prefs).colours;
    paintViews(prefs);
    styleMenus(prefs);
}

void MainForm::placeWindow(const Layout& layout)
{
    // The bounds are those of the normal window; a maximized window returns to them.
    setWindowState(windowState() & ~Qt::WindowMaximized);
    if (boundsOf(layout.geometry).isValid())
        setGeometry(onScreen(boundsOf(layout.geometry)));
    if (layout.geometry.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainForm::setColumnWidths(const std::array<int, 4>& widths)
{
    QHeaderView* header = m_linkView->horizontalHeader();
    m_lastColumnWidth = std::max(widths[3], kMinimumColumnWidth);
    for (std::size_t column = 0; column + 1 < widths.size(); ++column)
        header->resizeSection(static_cast<int>(column), std::max(widths[column], kMinimumColumnWidth));
    fitLastColumn();
}

void MainForm::fitLastColumn()
{
    // The last column reaches the right edge when the list is wider than the columns, and keeps
    // the width the user gave it (the one the preferences store) otherwise.
    QHeaderView* header = m_linkView->horizontalHeader();
    const int last = header->count() - 1;
    if (last < 0)
        return;
    const int room = m_linkView->viewport()->width() - header->sectionPosition(last);
    const QScopedValueRollback fitting(m_fittingLastColumn, true);
    header->resizeSection(last, std::max(m_lastColumnWidth, room));
}

void MainForm::setPaneSizes(int folderPaneWidth, int descriptionHeight)
{
    // A splitter shares out the room it has, so the window's layout gives it its size first.
    layout()->invalidate();
    layout()->activate();
    const int width = m_mainSplitter->width() - m_mainSplitter->handleWidth();
    m_mainSplitter->setSizes({folderPaneWidth, std::max(width - folderPaneWidth, 1)});
    const int height = m_listSplitter->height() - m_listSplitter->handleWidth();
    m_listSplitter->setSizes({std::max(height - descriptionHeight, 1), descriptionHeight});
}

void MainForm::paintViews(const TPreferences& prefs)
{
    paint(*m_folderView, prefs.TreeBackgroundColor, prefs.TreeFontColor);
    paint(*m_linkView, prefs.ListBackgroundColor, prefs.ListFontColor);
    paint(*m_filterView, prefs.ListBackgroundColor, prefs.ListFontColor);
}

void MainForm::styleMenus(const TPreferences& prefs)
{
    const QString sheet = menuStyleSheet(prefs, QApplication::palette(menuBar()));
    menuBar()->setStyleSheet(sheet);
    m_toolBar->setStyleSheet(sheet);
    m_contextMenu->setStyleSheet(sheet);
}

std::optional<WindowGeometry> MainForm::windowGeometry() const
{
    WindowGeometry geometry;
    const QHeaderView* header = m_linkView->horizontalHeader();
    for (int column = 0; column < 3; ++column)
        geometry.columnWidths[column] = header->sectionSize(column);
    geometry.columnWidths[3] = m_lastColumnWidth;
    geometry.folderPaneWidth = m_mainSplitter->sizes().value(0);
    geometry.descriptionHeight = m_listSplitter->sizes().value(1);
    geometry.maximized = isMaximized();
    const QRect bounds = isMaximized() ? normalGeometry() : this->geometry();
    geometry.left = bounds.left();
    geometry.top = bounds.top();
    geometry.width = bounds.width();
    geometry.height = bounds.height();
    return geometry;
}

} // namespace velloria
