#include "app/Platform.h"

#include <QFileInfo>
#include <QtGlobal>

bool XDisplayReachable(const QByteArray& display,
                       const std::function<bool(const QString&)>& exists) {
    // [host]:number[.screen]; no host or "unix" is a local socket.
    const int colon = display.lastIndexOf(':');
    if (colon < 0)
        return false;
    const QByteArray host = display.left(colon);
    QByteArray number = display.mid(colon + 1);
    const int dot = number.indexOf('.');
    if (dot >= 0)
        number.truncate(dot);
    bool isNumber = false;
    number.toUInt(&isNumber);
    if (!isNumber)
        return false;
    if (host.startsWith('/')) // a socket's own path
        return exists(QString::fromLocal8Bit(display.left(colon)));
    if (!host.isEmpty() && host != "unix")
        return true;
    return exists(QStringLiteral("/tmp/.X11-unix/X") + QString::fromLatin1(number));
}

QByteArray ChosenPlatform(const TPlatformSight& sight) {
#ifndef Q_OS_LINUX
    // Some Windows machines set DISPLAY for an X server of their own; the
    // Windows build has no X11 platform, and Qt stops when asked for one.
    Q_UNUSED(sight);
    return {};
#else
    if (!sight.QpaPlatform.isEmpty())
        return {};
    for (const QString& argument : sight.Arguments.mid(1)) {
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform"))
            return {};
    }
    if (!XDisplayReachable(sight.Display, sight.Exists))
        return {};
    return sight.WaylandDisplay.isEmpty() ? QByteArray("xcb") : QByteArray("xcb;wayland");
#endif
}

void ChoosePlatform(int argc, char* argv[]) {
    TPlatformSight sight;
    sight.QpaPlatform = qgetenv("QT_QPA_PLATFORM");
    sight.Display = qgetenv("DISPLAY");
    sight.WaylandDisplay = qgetenv("WAYLAND_DISPLAY");
    for (int i = 0; i < argc; ++i)
        sight.Arguments << QString::fromLocal8Bit(argv[i]);
    sight.Exists = [](const QString& path) { return QFileInfo::exists(path); };
    const QByteArray platform = ChosenPlatform(sight);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

bool WindowPositionKnown(const QString& platformName) {
    return !platformName.startsWith(QLatin1String("wayland"));
}
