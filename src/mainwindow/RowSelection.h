#pragma once

#include "mainwindow/MainWindowObserver.h"

#include <cstddef>
#include <vector>

namespace velloria {

// The rows selected in the link list, the focused row, and the pane with the focus. The window
// model changes them and tells its view; views and the command-line tool read them.
class RowSelection {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    bool isRowSelected(std::size_t row) const { return row < m_selected.size() && m_selected[row]; }
    bool anySelected() const;
    std::vector<std::size_t> selectedRows() const;
    std::size_t focusedRow() const { return m_focusedRow; }
    // The row that commands on "the selected row" take: the focused row when it is selected,
    // otherwise the first selected row; npos when no row is selected.
    std::size_t selectedRow() const;
    Pane focus() const { return m_focus; }

    // A list of rowCount rows with these rows selected and this one focused (npos, or a row
    // past the end: none); rows past the end are left out.
    void select(const std::vector<std::size_t>& rows, std::size_t focusedRow, std::size_t rowCount);
    void setFocus(Pane pane) { m_focus = pane; }
    // One mark a row, which follows its row as rows are inserted, removed and moved.
    std::vector<char>& marks() { return m_selected; }

private:
    std::vector<char> m_selected;
    std::size_t m_focusedRow = npos;
    Pane m_focus = Pane::None;
};

} // namespace velloria
