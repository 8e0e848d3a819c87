#pragma once

#include <QIcon>
#include <QString>

namespace velloria {

// The program's images, numbered as the main image list numbers them: the command table gives
// each command its image by that number. They are SVG files in the resource ":/icons", named
// "NN-what.svg" after their number.
inline constexpr int kFolderImage = 6;
inline constexpr int kOpenFolderImage = 24;
inline constexpr int kLinkImage = 31;

// The resource path of an image; empty for -1 and for a number without an image.
QString imagePath(int image);
// The image as an icon; a null icon where imagePath is empty.
QIcon imageIcon(int image);
// The program's own icon.
QIcon applicationIcon();

} // namespace velloria
