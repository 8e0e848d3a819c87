#include "gui/ImageList.h"

#include <QDir>

// The resources are compiled into the static GUI library; a static library's resources must be
// registered by hand, and the call has to stand outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(velloria);
}

namespace velloria {

namespace {

void ensureResources()
{
    static const bool registered = (registerResources(), true);
    (void)registered;
}

} // namespace

QString imagePath(int image)
{
    if (image < 0)
        return {};
    ensureResources();
    const QDir icons(QStringLiteral(":/icons"));
    const QString pattern = QStringLiteral("%1-*.svg").arg(image, 2, 10, QLatin1Char('0'));
    const QStringList found = icons.entryList({pattern}, QDir::Files);
    return found.isEmpty() ? QString() : icons.filePath(found.first());
}

QIcon imageIcon(int image)
{
    const QString path = imagePath(image);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QIcon applicationIcon()
{
    ensureResources();
    return QIcon(QStringLiteral(":/velloria.svg"));
}

} // namespace velloria
