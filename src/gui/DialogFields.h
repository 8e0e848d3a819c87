#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <optional>
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

// A colour swatch: a flat button filled with its colour. Tab reaches it; Space, Enter or a click
// open the colour dialog. Its property "colour" holds the colour it shows.
QPushButton* colourSwatch(const QString& objectName);
void showSwatchColour(QPushButton& swatch, const QColor& colour);
// The colour picked for a swatch showing current; nullopt when the user cancels.
using ColourChooser = std::function<std::optional<QColor>(QWidget& parent, const QColor& current)>;
// The standard colour dialog, as a ColourChooser.
std::optional<QColor> standardColourDialog(QWidget& parent, const QColor& current);

// Return or Enter in the control runs the action instead of what the control or the dialog's
// default button would do with it.
void onEnterKey(QWidget& control, std::function<void()> action);
// The action runs each time the control gains the focus.
void onFocusIn(QWidget& control, std::function<void()> action);

} // namespace velloria
