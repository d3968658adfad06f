#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// An icon drawn from an SVG picture at the size and pixel density it is
// shown at, so it stays sharp at any scale. Nothing is read or parsed until
// the icon is first painted; each size is drawn once.
QIcon SvgIcon(const QString& path);

// Gives every button of a window the picture its design names in the
// property "svgIcon", and the window itself the one named in
// "svgWindowIcon". The designs name the pictures this way instead of with
// ordinary icon sets, which would parse every picture at start.
void LoadIcons(QWidget* window);
