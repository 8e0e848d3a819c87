#include "gui/DialogFields.h"

#include "gui/DescriptionEdit.h"
#include "gui/QtText.h"

#include <QColorDialog>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velloria {

namespace {

// The description field shows three and a half lines, so that a longer text shows it goes on.
constexpr double kDescriptionLines = 3.5;
// Wide enough for an address of common length.
constexpr int kFieldWidthInCharacters = 60;
constexpr int kSwatchWidthInCharacters = 10;

// Runs an action for those events of one control that a predicate picks, and consumes them or
// passes them on.
class EventHook : public QObject {
public:
    EventHook(QWidget& control, std::function<bool(const QEvent&)> picks, std::function<void()> action,
              bool consumes)
        : QObject(&control), m_picks(std::move(picks)), m_action(std::move(action)), m_consumes(consumes)
    {
        control.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_picks(*event))
            return QObject::eventFilter(watched, event);
        m_action();
        return m_consumes;
    }

private:
    std::function<bool(const QEvent&)> m_picks;
    std::function<void()> m_action;
    bool m_consumes;
};

QLabel* fieldLabel(const QString& text, const QString& objectName, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* lineEdit(const QString& objectName)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * kFieldWidthInCharacters);
    return edit;
}

} // namespace

ItemFields::ItemFields()
    : titleEdit(lineEdit(QStringLiteral("edTitle"))),
      addressEdit(lineEdit(QStringLiteral("edAddress"))),
      descriptionEdit(new DescriptionEdit(kDescriptionLines))
{
    descriptionEdit->setObjectName(QStringLiteral("memDescription"));
    // A closed address field shows the button face whatever the style, so that it reads as closed.
    QPalette palette = addressEdit->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
    addressEdit->setPalette(palette);
    titleLabel = fieldLabel(QStringLiteral("Title:"), QStringLiteral("lblTitle"), titleEdit);
    addressLabel = fieldLabel(QStringLiteral("Address:"), QStringLiteral("lblAddress"), addressEdit);
    descriptionLabel = fieldLabel(QStringLiteral("Description:"), QStringLiteral("lblDescription"), descriptionEdit);
}

void ItemFields::addTo(QGridLayout& grid, int firstRow) const
{
    const Qt::Alignment besideLine = Qt::AlignLeft | Qt::AlignVCenter;
    grid.addWidget(titleLabel, firstRow, 0, besideLine);
    grid.addWidget(titleEdit, firstRow, 1);
    grid.addWidget(addressLabel, firstRow + 1, 0, besideLine);
    grid.addWidget(addressEdit, firstRow + 1, 1);
    // The label stands beside the first line of the description, not beside its middle.
    const int firstLineOffset =
        descriptionEdit->frameWidth() + static_cast<int>(descriptionEdit->document()->documentMargin());
    descriptionLabel->setContentsMargins(0, firstLineOffset, 0, 0);
    grid.addWidget(descriptionLabel, firstRow + 2, 0, Qt::AlignLeft | Qt::AlignTop);
    grid.addWidget(descriptionEdit, firstRow + 2, 1);
    grid.setRowStretch(firstRow + 2, 1);
    grid.setColumnStretch(1, 1);
}

void ItemFields::fill(const std::string& title, const std::string& address, const std::string& description) const
{
    titleEdit->setText(toQString(title));
    addressEdit->setText(toQString(address));
    descriptionEdit->setPlainText(toQString(description));
}

std::string ItemFields::title() const
{
    return toBytes(titleEdit->text());
}

std::string ItemFields::address() const
{
    return toBytes(addressEdit->text());
}

std::string ItemFields::description() const
{
    return toBytes(descriptionEdit->toPlainText());
}

QPushButton* dialogButton(const QString& text, const QString& objectName)
{
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    return button;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

QPushButton* colourSwatch(const QString& objectName)
{
    auto* button = new QPushButton;
    button->setObjectName(objectName);
    button->setAutoDefault(true);
    const QFontMetrics metrics = button->fontMetrics();
    button->setFixedSize(metrics.averageCharWidth() * kSwatchWidthInCharacters, metrics.height() + 8);
    return button;
}

void showSwatchColour(QPushButton& swatch, const QColor& colour)
{
    swatch.setProperty("colour", colour);
    swatch.setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid palette(dark); }"
                                        " QPushButton:focus { border: 2px solid palette(highlight); }")
                             .arg(colour.name()));
}

std::optional<QColor> standardColourDialog(QWidget& parent, const QColor& current)
{
    const QColor chosen = QColorDialog::getColor(current, &parent);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

void onEnterKey(QWidget& control, std::function<void()> action)
{
    const auto isEnter = [](const QEvent& event) {
        if (event.type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<const QKeyEvent&>(event).key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    };
    new EventHook(control, isEnter, std::move(action), true);
}

void onFocusIn(QWidget& control, std::function<void()> action)
{
    const auto isFocusIn = [](const QEvent& event) { return event.type() == QEvent::FocusIn; };
    new EventHook(control, isFocusIn, std::move(action), false);
}

} // namespace velloria
