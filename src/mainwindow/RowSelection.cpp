// The selected rows of the link list.

#include "mainwindow/RowSelection.h"

#include <algorithm>

namespace velloria {

bool RowSelection::anySelected() const
{
    return std::find(m_selected.begin(), m_selected.end(), 1) != m_selected.end();
}

std::vector<std::size_t> RowSelection::selectedRows() const
{
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < m_selected.size(); ++row)
        if (m_selected[row])
            rows.push_back(row);
    return rows;
}

std::size_t RowSelection::selectedRow() const
{
    if (isRowSelected(m_focusedRow))
        return m_focusedRow;
    const auto it = std::find(m_selected.begin(), m_selected.end(), 1);
    return it == m_selected.end() ? npos : static_cast<std::size_t>(it - m_selected.begin());
}

void RowSelection::select(const std::vector<std::size_t>& rows, std::size_t focusedRow, std::size_t rowCount)
{
    m_selected.assign(rowCount, 0);
    for (std::size_t row : rows)
        if (row < rowCount)
            m_selected[row] = 1;
    m_focusedRow = focusedRow < rowCount ? focusedRow : npos;
}

} // namespace velloria
