#include "gui/ApplyTexts.h"

#include "gui/QtText.h"
#include "settings/UIText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

namespace velloria {

namespace {

// A page of a tab widget takes the caption as its tab's text. (The pages are children of the
// tab widget's page stack.)
void setTabCaption(QWidget& page, const QString& text)
{
    QWidget* stack = page.parentWidget();
    if (auto* tabs = qobject_cast<QTabWidget*>(stack ? stack->parentWidget() : nullptr))
        if (const int index = tabs->indexOf(&page); index >= 0)
            tabs->setTabText(index, text);
}

void setCaption(QObject& control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&control))
        group->setTitle(text);
    else if (auto* page = qobject_cast<QWidget*>(&control))
        setTabCaption(*page, text);
}

} // namespace

void applyTexts(QWidget& window, TextWindow which, const UIText& texts)
{
    for (const TextBinding& binding : textBindings(which)) {
        const QString text = toQString(texts[binding.text]);
        if (binding.target.empty()) {
            window.setWindowTitle(text);
            continue;
        }
        if (QObject* control = window.findChild<QObject*>(toQString(binding.target)))
            setCaption(*control, text);
    }
}

} // namespace velloria
