#include "windows/SvgIcon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <iterator>
#include <memory>

#ifdef ZIRMON_PNG_PICTURES

namespace {

// The drawing "X.svg" is in the resources as X.png, X-2x.png ... X-6x.png,
// drawn at these multiples of its own size (the build makes them). Each is a
// picture of its own pixel size, so the icon offers it for that size and
// a window's icon can be larger than the drawing.
const char* const Factors[] = {"", "-2x", "-3x", "-4x", "-6x"};

// "X.svg" without its ".svg".
QString Base(const QString& path) {
    return path.endsWith(QLatin1String(".svg")) ? path.chopped(4) : path;
}

} // namespace

QIcon SvgIcon(const QString& path) {
    QIcon icon;
    for (const char* factor : Factors)
        icon.addFile(Base(path) + QLatin1String(factor) + QLatin1String(".png"));
    return icon;
}

QPixmap SvgPixmap(const QString& path, const QSize& size, qreal ratio) {
    // Made smaller from the largest, which is never made larger.
    QPixmap picture =
        QPixmap(Base(path) + QLatin1String(Factors[std::size(Factors) - 1]) + QLatin1String(".png"))
            .scaled(QSizeF(QSizeF(size) * ratio).toSize(), Qt::IgnoreAspectRatio,
                    Qt::SmoothTransformation);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

#else
#include <QSvgRenderer>

namespace {

class TSvgIconEngine : public QIconEngine {
public:
    explicit TSvgIconEngine(QString path) : Path(std::move(path)) {}

    QIconEngine* clone() const override { return new TSvgIconEngine(Path); }
    QString key() const override { return QStringLiteral("zirmon-svg"); }

    // The sizes offered to whoever asks for a set, as the window system does
    // for a window's icon: enough for a title bar and a task bar.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48)};
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QSize natural = Renderer().defaultSize();
        if (natural.isEmpty())
            return size;
        return natural.scaled(size, Qt::KeepAspectRatio);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, Draw(rect.size(), mode, state, ratio));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Draw(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        // Before Qt 6.8 the size asked for is already in device pixels.
        if (scale > 0)
            return Draw((QSizeF(size) / scale).toSize(), mode, state, scale);
#endif
        return Draw(size, mode, state, scale);
    }

private:
    // The picture fitted into `size` (device-independent pixels), drawn with
    // `scale` device pixels to each of them.
    QPixmap Draw(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
        const QSize logical = actualSize(size, mode, state);
        const QSize device = (QSizeF(logical) * scale).toSize();
        const QString cacheKey =
            QStringLiteral("%1x%2-%3").arg(device.width()).arg(device.height()).arg(int(mode));
        auto cached = Pixmaps.constFind(cacheKey);
        if (cached != Pixmaps.constEnd())
            return *cached;
        QPixmap picture(device);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            Renderer().render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
        }
        picture.setDevicePixelRatio(scale);
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        Pixmaps.insert(cacheKey, picture);
        return picture;
    }

    QSvgRenderer& Renderer() {
        if (!Svg)
            Svg = std::make_unique<QSvgRenderer>(Path);
        return *Svg;
    }

    QString Path;
    std::unique_ptr<QSvgRenderer> Svg;
    QHash<QString, QPixmap> Pixmaps;
};

} // namespace

QIcon SvgIcon(const QString& path) {
    return QIcon(new TSvgIconEngine(path));
}

QPixmap SvgPixmap(const QString& path, const QSize& size, qreal ratio) {
    QPixmap picture(QSizeF(QSizeF(size) * ratio).toSize());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QSvgRenderer(path).render(&painter);
    painter.end();
    picture.setDevicePixelRatio(ratio);
    return picture;
}

#endif

void LoadIcons(QWidget* window) {
    const QVariant own = window->property("svgWindowIcon");
    if (own.isValid())
        window->setWindowIcon(SvgIcon(own.toString()));
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QVariant picture = button->property("svgIcon");
        if (picture.isValid())
            button->setIcon(SvgIcon(picture.toString()));
    }
}
