#include "gui/DescriptionEdit.h"

#include "gui/QtText.h"
#include "mainwindow/ItemDialogs.h"

#include <QMimeData>
#include <QtMath>

namespace velloria {

DescriptionEdit::DescriptionEdit(double visibleLines, QWidget* parent)
    : QPlainTextEdit(parent), m_visibleLines(visibleLines)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

int DescriptionEdit::heightFor(double lines) const
{
    const double text = fontMetrics().lineSpacing() * lines + 2 * document()->documentMargin();
    return qCeil(text) + 2 * frameWidth();
}

QSize DescriptionEdit::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), heightFor(m_visibleLines)};
}

QSize DescriptionEdit::minimumSizeHint() const
{
    return {QPlainTextEdit::minimumSizeHint().width(), heightFor(1)};
}

void DescriptionEdit::insertFromMimeData(const QMimeData* source)
{
    // The dialog's logic cleans the value too; cleaning here shows the user what will be kept.
    if (source->hasText())
        insertPlainText(toQString(fieldText(toBytes(source->text()))));
}

} // namespace velloria
