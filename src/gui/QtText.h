#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace velloria {

// The one place where library bytes meet Qt's text type. Bytes are shown by the library's rule
// (valid UTF-8 as it is, anything else as Windows-1252); text typed into a widget goes back to
// the library as UTF-8.
QString toQString(std::string_view bytes);
std::string toBytes(const QString& text);

} // namespace velloria
