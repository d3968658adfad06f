// genicon SVG SIZE PNG [SIZE PNG ...]
// genicon SVG ico ICO
//
// Renders a picture drawn as SVG into PNG files: square ones of SIZE pixels
// (the program icon for the icon theme folders of a desktop installation),
// or, for a SIZE such as "2x", the drawing's own size times that factor (the
// pictures of a build without Qt Svg). Every size is rendered from the
// drawing itself, so each one is sharp. The second form writes a Windows
// icon file holding the sizes Windows shows (16 to 256 pixels) as PNGs.

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>
#include <iterator>

namespace {

QImage Render(QSvgRenderer& renderer, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

template <typename T> void Put(QByteArray& bytes, T value) {
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// An icon file: a header, one directory entry per size, then the PNGs.
bool WriteIco(QSvgRenderer& renderer, const QString& path) {
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    const int count = int(std::size(sizes));
    QByteArray head;
    QByteArray images;
    Put<quint16>(head, 0);
    Put<quint16>(head, 1); // an icon
    Put<quint16>(head, quint16(count));
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!Render(renderer, QSize(size, size)).save(&buffer, "PNG"))
            return false;
        head.append(char(size & 0xFF)); // 0 stands for 256
        head.append(char(size & 0xFF));
        head.append(char(0)); // no palette
        head.append(char(0));
        Put<quint16>(head, 1);  // planes
        Put<quint16>(head, 32); // bits per pixel
        Put<quint32>(head, quint32(png.size()));
        Put<quint32>(head, quint32(6 + 16 * count + images.size()));
        images.append(png);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(head + images) == head.size() + images.size();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s SVG SIZE PNG [SIZE PNG ...]\n       %s SVG ico ICO\n",
                     argv[0], argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "genicon: cannot read the drawing %s\n", argv[1]);
        return 1;
    }
    if (argc == 4 && qstrcmp(argv[2], "ico") == 0) {
        if (WriteIco(renderer, QString::fromLocal8Bit(argv[3])))
            return 0;
        std::fprintf(stderr, "genicon: cannot write %s\n", argv[3]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        QString text = QString::fromLatin1(argv[i]);
        const bool factor = text.endsWith(QLatin1Char('x'));
        if (factor)
            text.chop(1);
        bool number = false;
        const int value = text.toInt(&number);
        const QSize size = factor ? renderer.defaultSize() * value : QSize(value, value);
        if (!number || value < 1 || size.isEmpty() || size.width() > 4096 || size.height() > 4096) {
            std::fprintf(stderr, "genicon: %s is no icon size\n", argv[i]);
            return 2;
        }
        const QImage image = Render(renderer, size);
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "genicon: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
