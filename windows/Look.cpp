#include "windows/Look.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QWidget>

namespace {
void InstallSubstitutions() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("System"), sans);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
}
} // namespace

QFont PixelFont(const char* family, int pixelHeight, bool bold, bool underline) {
    InstallSubstitutions();
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void SetProgramFont() {
    QApplication::setFont(PixelFont("System", 13));
}

void SetLook(QWidget* control, const QFont& font, const QColor& text) {
    control->setFont(font);
    // A label sized to its text keeps fitting it in the new type.
    auto* label = qobject_cast<QLabel*>(control);
    if (label && label->property("zirmonSizeOnShow").toBool() && label->isVisible())
        label->adjustSize();
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    control->setPalette(palette);
}

namespace {
// Sizes a label to its text whenever it comes into view.
class TSizeOnShow : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            static_cast<QWidget*>(watched)->adjustSize();
        return false;
    }
};
} // namespace

void SizeToText(QLabel* label) {
    // Measuring a text loads its font; a label out of view is measured when
    // it comes into view, so hidden windows cost no fonts at start.
    if (label->isVisible()) {
        label->adjustSize();
        return;
    }
    static TSizeOnShow sizer;
    if (!label->property("zirmonSizeOnShow").toBool()) {
        label->setProperty("zirmonSizeOnShow", true);
        label->installEventFilter(&sizer);
    }
}

namespace {
// Runs a step once, when the widget it watches first comes into view.
class TFirstShow : public QObject {
public:
    TFirstShow(QWidget* widget, std::function<void()> step)
        : QObject(widget), Step(std::move(step)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            const std::function<void()> step = std::move(Step);
            deleteLater();
            step();
        }
        return false;
    }

private:
    std::function<void()> Step;
};
} // namespace

void WhenFirstShown(QWidget* widget, std::function<void()> step) {
    if (widget->isVisible())
        step();
    else
        new TFirstShow(widget, std::move(step));
}

void ShowResourceTextWhenShown(QPlainTextEdit* box, const QString& path) {
    WhenFirstShown(box, [box, path] { box->setPlainText(ResourceText(path)); });
}

void SetLookWhenShown(QWidget* control, const QFont& font, const QColor& text) {
    WhenFirstShown(control, [control, font, text] { SetLook(control, font, text); });
}

void SetLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    SizeToText(label);
}

void MakeFixedDialog(QWidget* window, int clientWidth, int clientHeight) {
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientWidth, clientHeight);
}

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRegion>
#include <QScreen>
#include <QStyle>

QString ResourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

namespace {
class TEnterStopper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

void KeepEnterInTextBox(QWidget* textBox) {
    textBox->installEventFilter(new TEnterStopper(textBox));
}

void MakeToolWindow(QWidget* window, int clientWidth, int clientHeight) {
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    window->resize(clientWidth, clientHeight);
}

void CentreOnFirstShowing(QWidget* window, bool& shown) {
    if (shown)
        return;
    shown = true;
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

QPoint PlaceOnScreens(QPoint pos, QSize size, const QList<QRect>& areas) {
    QRegion free;
    for (const QRect& area : areas)
        free += area;
    if (areas.isEmpty() || (QRegion(QRect(pos, size)) - free).isEmpty())
        return pos;
    auto distance = [pos](const QRect& area) {
        const int dx = qMax(qMax(area.left() - pos.x(), pos.x() - area.right()), 0);
        const int dy = qMax(qMax(area.top() - pos.y(), pos.y() - area.bottom()), 0);
        return static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy;
    };
    const QRect* nearest = &areas.first();
    for (const QRect& area : areas)
        if (distance(area) < distance(*nearest))
            nearest = &area;
    // Too big for the area: its top left corner stays in view.
    const int x = qMax(qMin(pos.x(), nearest->right() + 1 - size.width()), nearest->left());
    const int y = qMax(qMin(pos.y(), nearest->bottom() + 1 - size.height()), nearest->top());
    return QPoint(x, y);
}

QSize OuterSize(const QWidget* window, QSize size) {
    const QRect frame = window->frameGeometry();
    if (frame.size() != window->size())
        return size + frame.size() - window->size();
    // Until the window system has framed the window: a title bar and thin
    // borders.
    const int border = 4;
    return size +
           QSize(2 * border, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
}

QSize OuterSize(const QWidget* window) {
    return OuterSize(window, window->size());
}

void KeepInView(QWidget* window, const QWidget* mainWindow) {
    const QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(PlaceOnScreens(window->pos(), OuterSize(window), {screen->availableGeometry()}));
}
