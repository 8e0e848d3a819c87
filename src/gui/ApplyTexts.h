#pragma once

#include "settings/TextBindings.h"

class QWidget;

namespace velloria {

class UIText;

// Gives a window the captions of the text table: its title, and the text of each control the
// table names that the window holds, found by object name (labels, buttons, check and radio
// boxes, group boxes, pages of a tab widget). Controls the table does not name keep the texts they were made with.
void applyTexts(QWidget& window, TextWindow which, const UIText& texts);

} // namespace velloria
