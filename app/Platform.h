#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// What the choice of the window system sees of the program's surroundings.
struct TPlatformSight {
    QByteArray QpaPlatform;                     // QT_QPA_PLATFORM, empty when unset
    QByteArray Display;                         // DISPLAY, empty when unset
    QByteArray WaylandDisplay;                  // WAYLAND_DISPLAY, empty when unset
    QStringList Arguments;                      // the command line, the program's name first
    std::function<bool(const QString&)> Exists; // whether a file is there
};

// The window system to ask Qt for, or empty to leave the choice to Qt. The
// program places its windows itself, which only an X11 connection allows:
// when the user has chosen no platform (no QT_QPA_PLATFORM, no -platform
// argument) and an X display is reachable, it is X11 ("xcb"), with Wayland
// after it as the fall-back in a Wayland session. On Linux only: elsewhere
// always empty, whatever DISPLAY says.
QByteArray ChosenPlatform(const TPlatformSight& sight);

// Whether the display named by DISPLAY can be reached: a local one when its
// socket is there, one on another host always.
bool XDisplayReachable(const QByteArray& display,
                       const std::function<bool(const QString&)>& exists);

// Makes the choice from the real environment, before the application object
// exists.
void ChoosePlatform(int argc, char* argv[]);

// Whether a window's position can be learnt and set on the given platform
// (QGuiApplication::platformName()): not on Wayland.
bool WindowPositionKnown(const QString& platformName);
