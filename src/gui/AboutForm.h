#pragma once

#include <QDialog>

namespace velloria {

class UIText;

// The About box: the program's icon, name and version, what it is, and its home page.
class AboutForm : public QDialog {
    Q_OBJECT

public:
    AboutForm(const UIText& texts, QWidget* parent = nullptr);
};

} // namespace velloria
