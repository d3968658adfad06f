#pragma once

#include <QDate>
#include <QList>
#include <QWidget>

// Right and wrong answers per day as stacked bars, the oldest day on the
// left, with a legend. Drawn by itself; a screen reader reads the figures
// from its description.
class TDayChart : public QWidget {
    Q_OBJECT

public:
    explicit TDayChart(QWidget* parent = nullptr);

    struct TBar {
        QDate Date;
        int Right = 0;
        int Wrong = 0;
    };
    // The days to draw, in any order.
    void SetBars(QList<TBar> bars);
    const QList<TBar>& Bars() const { return Shown; }

    static QColor RightColour();
    static QColor WrongColour();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<TBar> Shown; // the oldest first
};
