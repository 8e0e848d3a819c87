#include "gui/QtText.h"

#include "base/Text.h"

namespace velloria {

QString toQString(std::string_view bytes)
{
    return QString::fromStdString(toUtf8(bytes));
}

std::string toBytes(const QString& text)
{
    return text.toStdString();
}

} // namespace velloria
