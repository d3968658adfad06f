#pragma once

#include "ui_Vyberdite.h"

#include <QDialog>

class QKeyEvent;
class QShowEvent;

// "Kdo bude počítat?": one large button per named child. It opens with the
// focus on the window itself, so Enter alone picks nobody; an arrow key or
// Tab reaches the buttons, Alt+1 to Alt+9 pick a child at once.
class TVyberdite : public QDialog, public Ui::TVyberdite {
    Q_OBJECT

public:
    explicit TVyberdite(QWidget* parent = nullptr);

    // Shows the family's buttons and opens modally; the index of the child
    // picked, or -1 when the window was closed (close box, Esc).
    int Choose();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* Button(int index) const;
    int Picked = -1;
};

extern TVyberdite* Vyberdite;

// The child at index practises from now on: their settings, counts and list
// are loaded, then the family file notes them as the last one when it can.
void SwitchChild(int index);

// The main window as the family is: with two or more children their
// name in the caption and the command "Dí&tě", else as for a single child.
void ShowFamily();

// At start: the box of what the family file held and was not used, then
// with two or more children the choice. False when the choice was closed:
// the program then ends.
bool ChooseAtStart();
