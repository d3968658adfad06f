#include "windows/Passwd.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "store/CodePage.h"
#include "store/DataDir.h"
#include "store/Errors.h"
#include "store/ProfileFile.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Speak.h"
#include "windows/SvgIcon.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QShowEvent>
#include <QValidator>

TPasswordDlg* PasswordDlg = nullptr;

namespace {

class TStarEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A password that the settings file cannot hold would be stored as other
// characters and never match again, so such characters are refused.
class TSettingsEncodingValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return FitsSettingsEncoding(input) ? Acceptable : Invalid;
    }
};

} // namespace

bool FitsSettingsEncoding(const QString& text) {
    bool plain = true;
    for (const QChar c : text)
        plain = plain && c.unicode() < 0x80;
    if (plain)
        return true;
    try {
        return AnsiHolds(text);
    } catch (const EZirmonError&) {
        return false; // no code page, no letters beyond ASCII
    }
}

void UseStarEcho(QLineEdit* field) {
    auto* style = new TStarEchoStyle;
    style->setParent(field);
    field->setStyle(style);
    field->setEchoMode(QLineEdit::Password);
}

TPasswordDlg::TPasswordDlg(QWidget* parent) : QDialog(parent) {
    SetLook(this, PixelFont("MS Sans Serif", 11, true), Qt::black);
    setupUi(this);
    LoadIcons(this);
    MakeFixedDialog(this, 262, 223);
    for (QLineEdit* field : {PASS, heslo1, heslo2}) {
        UseStarEcho(field);
        field->setValidator(new TSettingsEncodingValidator(field));
    }
    PASS->setFocus();

    PASS->installEventFilter(this);
    heslo2->installEventFilter(this);
    OKBtn->installEventFilter(this);
    cac->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        setResult(QDialog::Accepted);
        RunOwnStep([this] { OKBtnClick(); });
        accept();
    });
    connect(cac, &QPushButton::clicked, this, [this] {
        setResult(QDialog::Rejected);
        RunOwnStep([this] { cacClick(); });
        reject();
    });

    RunOwnStep([this] { FormCreate(); });
}

template <typename Step> void TPasswordDlg::RunOwnStep(Step&& step) {
    const bool outer = InStep;
    InStep = true;
    RunStep(std::forward<Step>(step));
    InStep = outer;
}

void TPasswordDlg::FormCreate() {
    if (PracticeState.StoredPassword.isEmpty()) {
        OKBtn->setEnabled(false);
        PASS->setEnabled(false);
    } else {
        PASS->setEnabled(true);
        // Only a pair of matching new entries may be stored.
        OKBtn->setEnabled(false);
    }
}

void TPasswordDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CentreOnFirstShowing(this, Shown);
    KeepInView(this, Form1);
    RunOwnStep([this] { FormShow(); });
}

void TPasswordDlg::FormShow() {
    heslo1->clear();
    heslo2->clear();
    PASS->clear();
    SetStatus(QString());
    // Only a pair of matching new entries may be stored.
    OKBtn->setEnabled(false);
    if (!PracticeState.StoredPassword.isEmpty()) {
        PASS->setEnabled(true);
        PASS->setFocus();
    } else {
        heslo1->setEnabled(true);
        heslo2->setEnabled(true);
        heslo1->setFocus();
    }
}

void TPasswordDlg::PASSExit() {
    const QString entry = PASS->text();
    if (entry == PracticeState.StoredPassword || entry == QLatin1String(MasterPasswordText)) {
        heslo1->setEnabled(true);
        heslo2->setEnabled(true);
        SetStatus(QStringLiteral("Heslo je správně"));
        MoveFocus(heslo1);
    } else {
        SetStatus(QStringLiteral("Špatné heslo!"));
        QWidget* const focused = QApplication::focusWidget();
        heslo1->setEnabled(false);
        heslo2->setEnabled(false);
        OKBtn->setEnabled(false);
        // The focus stays where it went, unless that control has just been
        // greyed: then it is back in the field to be corrected.
        if (focused && !focused->isEnabled())
            PASS->setFocus(Qt::OtherFocusReason);
    }
}

void TPasswordDlg::heslo2Exit() {
    if (heslo2->text() == heslo1->text()) {
        OKBtn->setEnabled(true);
        SetStatus(QStringLiteral("Druhé zadání hesla se shoduje s prvním. OK"));
        MoveFocus(OKBtn);
    } else {
        SetStatus(QStringLiteral("Druhé zadání hesla se s prvním neshoduje!"));
        OKBtn->setEnabled(false);
        MoveFocus(heslo2);
    }
}

void TPasswordDlg::OKBtnClick() {
    PracticeState.StoredPassword = heslo2->text();
    TProfileFile ini(GetFamilyIniPath());
    ini.WriteString(QStringLiteral("PASSWD"), QStringLiteral("USRPASSWD"),
                    PracticeState.StoredPassword);
}

void TPasswordDlg::cacClick() {
    SetStatus(QString());
    heslo1->setEnabled(false);
    heslo2->setEnabled(false);
    heslo1->clear();
    heslo2->clear();
    PASS->clear();
    // The dialog closes as soon as this step returns.
    if (PracticeState.StoredPassword.isEmpty() && setpoc)
        setpoc->joheslo->setChecked(false);
}

void TPasswordDlg::keyPressEvent(QKeyEvent* event) {
    // Esc is the key of "Zpět" and runs its step; the close box does not.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cac->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The exit steps: the focus passes from PASS or heslo2 to another control of
// this dialog. Closing the dialog or switching windows is no exit.
void TPasswordDlg::FocusChanged(QWidget* old, QWidget* now) {
    if (InStep || !old || !now || old == now)
        return;
    if (old != PASS && old != heslo2)
        return;
    if (now->window() != this)
        return;
    QAbstractButton* pressed =
        ExitReason == Qt::MouseFocusReason ? qobject_cast<QAbstractButton*>(now) : nullptr;
    StepMovedFocus = false;
    if (old == PASS)
        RunOwnStep([this] { PASSExit(); });
    else
        RunOwnStep([this] { heslo2Exit(); });
    // Also when the step put the focus on the pressed button itself: the
    // press only ended the entry, it did not confirm it.
    if (pressed && StepMovedFocus)
        DropPress = pressed;
    if (QApplication::focusWidget() != now)
        TellFocusLater();
}

void TPasswordDlg::MoveFocus(QWidget* control) {
    StepMovedFocus = true;
    control->setFocus(Qt::OtherFocusReason);
}

void TPasswordDlg::SetStatus(const QString& text) {
    SetLabelText(info, text);
    Speak(this, text);
}

bool TPasswordDlg::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        // Enter in the second field checks the entries as leaving it does,
        // and stores a matching pair at once.
        if (watched == heslo2) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                RunOwnStep([this] { heslo2Exit(); });
                if (OKBtn->isEnabled())
                    OKBtn->click();
                return true;
            }
        }
        break;
    case QEvent::FocusOut:
        if (watched == PASS || watched == heslo2)
            ExitReason = static_cast<QFocusEvent*>(event)->reason();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == DropPress) {
            DropPress = nullptr;
            DropRelease = static_cast<QAbstractButton*>(watched);
            return true;
        }
        DropPress = nullptr;
        DropRelease = nullptr;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == DropRelease) {
            DropRelease = nullptr;
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
