#pragma once

#include "base/Color.h"

#include <QColor>
#include <QPalette>

namespace velloria {

// Colours of the preferences as Qt colours and back. An RGB colour is stored as $00BBGGRR; a
// system colour as $FF0000nn, which takes the colour of the matching role of the palette.
QColor toQColor(TColor colour, const QPalette& palette);
TColor toTColor(const QColor& colour);

} // namespace velloria
