#include "windows/Zadanhe.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/IntText.h"
#include "store/ProfileFile.h"
#include "store/Settings.h"
#include "windows/Cells.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/SvgIcon.h"

#include <QShowEvent>

TPasswordDlg1* PasswordDlg1 = nullptr;

TPasswordDlg1::TPasswordDlg1(QWidget* parent) : QDialog(parent) {
    SetLook(this, PixelFont("MS Sans Serif", 11, true), Qt::black);
    setupUi(this);
    LoadIcons(this);
    MakeFixedDialog(this, 236, 91);
    UseStarEcho(Password);
    Password->setFocus();

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        setResult(QDialog::Accepted);
        RunStep([this] { OKBtnClick(); });
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TPasswordDlg1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CentreOnFirstShowing(this, Shown);
    KeepInView(this, Form1);
    RunStep([this] { FormShow(); });
}

void TPasswordDlg1::FormShow() {
    Password->clear();
    // Every opening starts in the field, also after OK was clicked last time.
    Password->setFocus();
}

void TPasswordDlg1::OKBtnClick() {
    // Exact comparisons: letter case counts and blanks are kept.
    PracticeState.EnteredPassword = Password->text();
    if (PracticeState.EnteredPassword == PracticeState.StoredPassword)
        PasswordRight = true;
    else if (PracticeState.EnteredPassword == PracticeState.MasterPassword)
        PasswordRight = true;
    else
        ShowWarningBox(QStringLiteral("Heslo bylo zadáno špatně!"));
}

bool TPasswordDlg1::AskPassword() {
    // "Zrušit", Esc and the close box leave it false, as a refused entry does.
    PasswordRight = false;
    exec();
    return PasswordRight;
}

bool TPasswordDlg1::AskIfProtected() {
    if (!setpoc->joheslo->isChecked() || PracticeState.StoredPassword.isEmpty())
        return true;
    return AskPassword();
}

void ResetTallies() {
    const QString zero = CellText(0);
    for (int row = 1; row <= 4; ++row)
        SetCell(Form1->vysl, 2, row, zero);
    for (int row = 1; row <= 4; ++row)
        SetCell(Form1->vysl, 3, row, zero);
    SetCell(Form1->celk, 3, 0, zero);
    SetCell(Form1->celk, 2, 0, zero);
    PracticeState.OkAdd = 0;
    PracticeState.OkSub = 0;
    PracticeState.OkMul = 0;
    PracticeState.OkDiv = 0;
    PracticeState.BadAdd = 0;
    PracticeState.BadSub = 0;
    PracticeState.BadMul = 0;
    PracticeState.BadDiv = 0;
    {
        TProfileFile ini(GetIniPath());
        SaveTallies(ini);
    }
    LoadSettings();
}
