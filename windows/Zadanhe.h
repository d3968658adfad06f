#pragma once

#include "ui_Zadanhe.h"

#include <QDialog>

class QShowEvent;

// The password gate in front of the tally reset and of switching the
// protection off. It clears nothing itself: it only tells whether the stored
// or the master password was entered.
class TPasswordDlg1 : public QDialog, public Ui::TPasswordDlg1 {
    Q_OBJECT

public:
    explicit TPasswordDlg1(QWidget* parent = nullptr);

    void FormShow();
    void OKBtnClick();
    // Opens the gate modally; true when OK was given the right password.
    bool AskPassword();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool Shown = false;
    bool PasswordRight = false;
};

extern TPasswordDlg1* PasswordDlg1;

// Sets every count and both totals to zero in the grids, in PracticeState
// and in the settings file, then reads the file back with LoadSettings.
void ResetTallies();
