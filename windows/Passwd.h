#pragma once

#include "ui_Passwd.h"

#include <QDialog>

class QAbstractButton;
class QKeyEvent;
class QLineEdit;
class QShowEvent;

// The password change dialog: the old password (or the master password)
// first when one is stored, then the new one twice.
class TPasswordDlg : public QDialog, public Ui::TPasswordDlg {
    Q_OBJECT

public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void PASSExit();
    void heslo2Exit();
    void OKBtnClick();
    void cacClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename Step> void RunOwnStep(Step&& step);
    void FocusChanged(QWidget* old, QWidget* now);
    void MoveFocus(QWidget* control);
    void SetStatus(const QString& text);

    bool Shown = false;
    // While a step of this dialog runs, the focus moves it causes (its own,
    // or Qt's away from a control it disables) are not exits.
    bool InStep = false;
    bool StepMovedFocus = false;
    // Why the focus last left PASS or heslo2.
    Qt::FocusReason ExitReason = Qt::OtherFocusReason;
    // A mouse press on a button whose focus an exit step took away is
    // dropped, together with its release.
    QAbstractButton* DropPress = nullptr;
    QAbstractButton* DropRelease = nullptr;
};

extern TPasswordDlg* PasswordDlg;

// True when the settings file's encoding (the ANSI code page) holds every
// character of the text, so that it reads back unchanged.
bool FitsSettingsEncoding(const QString& text);

// A password field: every character shown as "*".
void UseStarEcho(QLineEdit* field);
