// genicon SVG SIZE PNG [SIZE PNG ...]
//
// Renders the program icon, drawn as SVG, into square PNG files of the given
// sizes in pixels, for the icon theme folders of a desktop installation.
// Every size is rendered from the drawing itself, so each one is sharp.

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s SVG SIZE PNG [SIZE PNG ...]\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "genicon: cannot read the drawing %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        bool number = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&number);
        if (!number || size < 1 || size > 4096) {
            std::fprintf(stderr, "genicon: %s is no icon size\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "genicon: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
