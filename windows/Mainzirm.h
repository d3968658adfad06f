#pragma once

#include "ui_Mainzirm.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRect>

class TForm1 : public QMainWindow, public Ui::TForm1 {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    void FormCreate();
    void nasobClick();
    void delenClick();
    void scitanClick();
    void ocitanClick();
    void nahClick();
    void konecClick();
    void BitBtn5Click();
    void nulujClick();
    void nastClick();
    void informace1Click();
    void Manul1Click();
    void Pklady1Click();
    void vyKeyPress(QChar& key);

    // Gives the focus back to the control the menu bar took it from, once
    // a menu command has run.
    void ReturnFocusFromMenu();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> FocusBeforeMenu;
};

extern TForm1* Form1;

// The two layouts of the main window.
void ShowProblemLayout();
void ShowIdleLayout();

// Empties the answer field, its undo history too.
void EmptyAnswerField();

// Where a window of the given outer size lands at pos: pos itself when the
// window lies whole within the union of the screens' work areas, else the
// nearest position that shows it whole on the area nearest to pos.
QPoint PlaceOnScreens(QPoint pos, QSize size, const QList<QRect>& areas);

// Recomputes the two totals and writes the totals row.
void UpdateTotals();

// Client heights below the menu bar of the two layouts.
inline constexpr int ProblemClientHeight = 276;
inline constexpr int IdleClientHeight = 210;
