#pragma once

#include "ui_Zadanhe.h"

#include <QDialog>

class QShowEvent;

// The password gate in front of the tally reset, of switching the
// protection off, of the settings and of clearing the list of mistakes. It clears nothing itself:
// it only tells whether the stored or the master password was entered.
class TPasswordDlg1 : public QDialog, public Ui::TPasswordDlg1 {
    Q_OBJECT

public:
    explicit TPasswordDlg1(QWidget* parent = nullptr);

    void FormShow();
    void OKBtnClick();
    // Opens the gate modally; true when OK was given the right password.
    bool AskPassword();
    // The gate of the settings and of clearing the list: asked only while
    // the protection is on and a password is stored; true when nothing was
    // asked or the entry was accepted.
    bool AskIfProtected();

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
