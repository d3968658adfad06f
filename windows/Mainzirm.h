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
    void diteClick();
    void pokrokClick();
    void vyKeyPress(QChar& key);

    // Gives the focus back to the control the menu bar took it from, once
    // a menu command has run.
    void ReturnFocusFromMenu();

    // False where the window system keeps the window's position to itself
    // (Wayland): "&Konec" then stores the position read at start again.
    bool PositionKnown = true;
    QPoint PositionAtStart;

    // Stores the counts and the window's position, as the program ends.
    void SaveAtEnd();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> FocusBeforeMenu;
    bool Ending = false; // "&Konec" has saved; the close that follows does not
};

extern TForm1* Form1;

// The two layouts of the main window.
void ShowProblemLayout();
void ShowIdleLayout();

// Empties the answer field, its undo history too.
void EmptyAnswerField();

// Recomputes the two totals and writes the totals row.
void UpdateTotals();

// Client heights below the menu bar of the two layouts.
inline constexpr int ProblemClientHeight = 276;
inline constexpr int IdleClientHeight = 210;
