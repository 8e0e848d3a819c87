#pragma once

#include <QPlainTextEdit>

namespace velloria {

// The description field of the item dialogs: a value of one line, wrapped over a few visible
// lines. It never takes a line break: the dialog decides what Enter does (see onEnterKey), Tab
// moves on to the next control, and line breaks in pasted or dropped text become blanks.
class DescriptionEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit DescriptionEdit(double visibleLines, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    int heightFor(double lines) const;

    double m_visibleLines;
};

} // namespace velloria
