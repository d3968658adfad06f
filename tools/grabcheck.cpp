// zirmon-grabcheck WINDOW PNG [X,Y,W,H ...]
//
// Takes a picture of an X window of another program (WINDOW is its id, as
// xdotool prints it), saves it as PNG and prints its size, then, for every
// rectangle given in the window's pixels, how many of its pixels are red.
// The package test uses it to see that the picture buttons really drew:
//
//   size=532x231
//   red 16,39,41,25 = 75
//
// Runs on the X server of $DISPLAY.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <cstdio>

namespace {
bool Red(QRgb pixel) {
    return qRed(pixel) >= 150 && qGreen(pixel) <= 100 && qBlue(pixel) <= 100;
}
} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WINDOW PNG [X,Y,W,H ...]\n", argv[0]);
        return 2;
    }
    bool number = false;
    const WId window = QString::fromLatin1(argv[1]).toULongLong(&number, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!number || !screen) {
        std::fprintf(stderr, "grabcheck: no window %s or no screen\n", argv[1]);
        return 2;
    }
    const QImage image = screen->grabWindow(window).toImage();
    if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "grabcheck: cannot take or save the picture\n");
        return 1;
    }
    std::printf("size=%dx%d\n", image.width(), image.height());
    for (int i = 3; i < argc; ++i) {
        const QStringList parts = QString::fromLatin1(argv[i]).split(QLatin1Char(','));
        if (parts.size() != 4) {
            std::fprintf(stderr, "grabcheck: %s is no rectangle X,Y,W,H\n", argv[i]);
            return 2;
        }
        const QRect rect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt());
        int red = 0;
        const QRect inside = rect & image.rect();
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                red += Red(image.pixel(x, y)) ? 1 : 0;
        std::printf("red %s = %d\n", argv[i], red);
    }
    return 0;
}
