#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class QWidget;

// The pictures are drawn as SVG. Where Qt Svg is at hand they are drawn at
// the size and pixel density they are shown at; a build without it
// (ZIRMON_PNG_PICTURES, the Windows build) gets them drawn at build time
// into PNGs beside the drawing's name, at one to six device pixels per pixel
// ("X.svg": "X.png", "X-2x.png", "X-3x.png", "X-4x.png" and "X-6x.png").

// An icon of an SVG picture, sharp at any scale where Qt Svg is at hand.
// Nothing is read or parsed until the icon is first painted; each size is
// drawn once.
QIcon SvgIcon(const QString& path);

// The picture stretched over `size` (device-independent pixels), with
// `ratio` device pixels to each of them.
QPixmap SvgPixmap(const QString& path, const QSize& size, qreal ratio);

// Gives every button of a window the picture its design names in the
// property "svgIcon", and the window itself the one named in
// "svgWindowIcon". The designs name the pictures this way instead of with
// ordinary icon sets, which would parse every picture at start.
void LoadIcons(QWidget* window);
