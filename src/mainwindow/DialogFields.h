#pragma once

#include <QString>

#include <functional>
#include <string>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace velloria {

class DescriptionEdit;

// The title, address and description rows that the new-item and the edit dialog share, named
// as the text table names them. The widgets belong to the dialog once the rows are in its layout.
struct ItemFields {
    ItemFields();

    // Labels in the first column, fields in the second, from firstRow on.
    void addTo(QGridLayout& grid, int firstRow) const;
    void fill(const std::string& title, const std::string& address, const std::string& description) const;
    std::string title() const;
    std::string address() const;
    std::string description() const;

    QLabel* titleLabel;
    QLabel* addressLabel;
    QLabel* descriptionLabel;
    QLineEdit* titleEdit;
    QLineEdit* addressEdit;
    DescriptionEdit* descriptionEdit;
};

// A button of a dialog's button row.
QPushButton* dialogButton(const QString& text, const QString& objectName);
// The buttons at the right-hand end of a row, in the order given.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// Return or Enter in the control runs the action instead of what the control or the dialog's
// default button would do with it.
void onEnterKey(QWidget& control, std::function<void()> action);
// The action runs each time the control gains the focus.
void onFocusIn(QWidget& control, std::function<void()> action);

} // namespace velloria
