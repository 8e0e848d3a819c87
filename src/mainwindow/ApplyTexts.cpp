#include "mainwindow/ApplyTexts.h"

#include "platform/QtText.h"
#include "settings/UIText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace velloria {

namespace {

void setCaption(QObject& control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&control))
        group->setTitle(text);
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
