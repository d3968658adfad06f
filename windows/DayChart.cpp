#include "windows/DayChart.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

TDayChart::TDayChart(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetBars({});
}

QColor TDayChart::RightColour() {
    return QColor(0x2e, 0x9e, 0x3e);
}

QColor TDayChart::WrongColour() {
    return QColor(0xd6, 0x33, 0x2b);
}

void TDayChart::SetBars(QList<TBar> bars) {
    std::sort(bars.begin(), bars.end(),
              [](const TBar& x, const TBar& y) { return x.Date < y.Date; });
    Shown = std::move(bars);
    QString text;
    if (Shown.isEmpty()) {
        text = QStringLiteral("Zatím žádné dny s počítáním.");
    } else {
        for (const TBar& bar : Shown)
            text += QStringLiteral("%1: dobře %2, špatně %3. ")
                        .arg(bar.Date.toString(QStringLiteral("d. M. yyyy")))
                        .arg(bar.Right)
                        .arg(bar.Wrong);
        text.chop(1);
    }
    setAccessibleDescription(text);
    update();
}

void TDayChart::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();

    // The legend along the top.
    int x = 8;
    const int legendY = 4;
    const struct {
        QColor Colour;
        QString Word;
    } keys[] = {{RightColour(), QStringLiteral("dobře")},
                {WrongColour(), QStringLiteral("špatně")}};
    for (const auto& key : keys) {
        painter.fillRect(QRect(x, legendY + (line - 10) / 2, 10, 10), key.Colour);
        x += 14;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPoint(x, legendY + metrics.ascent()), key.Word);
        x += metrics.horizontalAdvance(key.Word) + 16;
    }

    const QRect plot(32, legendY + line + 6, width() - 40, height() - 2 * line - 16);
    int most = 0;
    for (const TBar& bar : Shown)
        most = std::max(most, bar.Right + bar.Wrong);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(0, plot.top(), plot.left() - 4, line), Qt::AlignRight | Qt::AlignTop,
                     QString::number(most));
    painter.drawText(QRect(0, plot.bottom() - line, plot.left() - 4, line),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("0"));
    if (most > 0 && plot.height() > 0) {
        // Room for ShownDays bars at most, so the bars keep their width.
        const int slot = std::max(1, plot.width() / 30);
        const int barWidth = std::max(1, slot - 4);
        const int labelEvery =
            std::max(1, (metrics.horizontalAdvance(QStringLiteral("30.12.")) + 6) / slot + 1);
        for (qsizetype i = 0; i < Shown.size(); ++i) {
            const TBar& bar = Shown[i];
            const int left = plot.left() + int(i) * slot + 2;
            const int rightHeight = int(qint64(bar.Right) * plot.height() / most);
            const int wrongHeight =
                int(qint64(bar.Right + bar.Wrong) * plot.height() / most) - rightHeight;
            painter.fillRect(QRect(left, plot.bottom() - rightHeight + 1, barWidth, rightHeight),
                             RightColour());
            painter.fillRect(
                QRect(left, plot.bottom() - rightHeight - wrongHeight + 1, barWidth, wrongHeight),
                WrongColour());
            if (i % labelEvery == 0)
                painter.drawText(QPoint(left, plot.bottom() + 4 + metrics.ascent()),
                                 bar.Date.toString(QStringLiteral("d.M.")));
        }
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}
