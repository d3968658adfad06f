#include "windows/Mainzirm.h"

#include "app/ErrorBox.h"
#include "app/Platform.h"
#include "practice/Evaluation.h"
#include "practice/Generators.h"
#include "practice/PracticeState.h"
#include "practice/Returns.h"
#include "practice/Sound.h"
#include "store/DataDir.h"
#include "store/Errors.h"
#include "store/IntText.h"
#include "store/Journal.h"
#include "store/ProfileFile.h"
#include "store/Settings.h"
#include "windows/About.h"
#include "windows/Access.h"
#include "windows/Cells.h"
#include "windows/Look.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Pokrok.h"
#include "windows/Speak.h"
#include "windows/SvgIcon.h"
#include "windows/Vyberdite.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <array>
#include <exception>

TForm1* Form1 = nullptr;

namespace {

// Connects a button or menu item to an event step run inside RunStep.
template <typename Sender, typename Signal>
void Wire(TForm1* form, Sender* sender, Signal signal, void (TForm1::*step)()) {
    QObject::connect(sender, signal, form,
                     [form, step] { RunStep([form, step] { (form->*step)(); }); });
}

// A menu item: its step, then the focus back where it was. A command of the
// menu bar chosen with the keys leaves the focus on the bar once its window
// has closed, where the buttons' Alt keys would no longer reach.
void WireMenu(TForm1* form, QAction* item, void (TForm1::*step)()) {
    QObject::connect(item, &QAction::triggered, form, [form, step] {
        RunStep([form, step] { (form->*step)(); });
        form->ReturnFocusFromMenu();
    });
}

void SetOuterHeight(int clientHeight) {
    Form1->setFixedSize(532, Form1->MainMenu1->sizeHint().height() + clientHeight);
}

void WriteOperands() {
    SetLabelText(Form1->L1, IntToStr(PracticeState.Operand1));
    SetLabelText(Form1->L2, IntToStr(PracticeState.Operand2));
    PracticeState.ShownAt = Clock->ElapsedMs();
}

// What the problem layout shows and the idle layout hides.
std::array<QWidget*, 6> ProblemRow() {
    return {Form1->L1, Form1->L2, Form1->oper, Form1->rovn, Form1->vy, Form1->konec};
}

void SetOperator(TOperation op) {
    SetLabelText(Form1->oper, QString::fromLatin1(OperatorSign(op)));
}

// Keys typed while the verdict pause holds the program were meant for the
// problem just answered: once the pause ends they are dropped, wherever they
// wait (in the window system or in Qt's own queue). Clicks made meanwhile
// still act, after the Enter's step.
class TPauseKeyDrop : public QObject {
public:
    // From the end of the pause on, keys for the main window are dropped.
    void Begin() {
        if (!Active)
            qApp->installEventFilter(this);
        Active = true;
    }
    // At the end of the Enter's step: what is queued is handled now, keys
    // dropped and clicks delivered; later keys count again.
    void End() {
        if (!Active)
            return;
        // One round may only move the window system's events into Qt's queue.
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
        qApp->removeEventFilter(this);
        Active = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:      // text composed by an input method
        case QEvent::ShortcutOverride: // accepted: no menu or button key fires
            if (!ForMainWindow(watched))
                return false;
            event->accept();
            return true;
        default:
            return false;
        }
    }

private:
    // A box on top of the main window (an error of the step) takes its keys.
    static bool ForMainWindow(QObject* watched) {
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget->window() == Form1;
        return watched == Form1->windowHandle();
    }

    bool Active = false;
};

TPauseKeyDrop PauseKeyDrop;

// The digit of a key of the main keyboard's digit row that a Czech layout
// gives as a letter or "+" (the key 1), or -1.
int DigitRowDigit(const QKeyEvent& key) {
    static const QString DigitRow = QStringLiteral("é+ěščřžýáí"); // keys 0 to 9
    if (key.modifiers() & Qt::KeypadModifier || key.text().size() != 1)
        return -1;
    return int(DigitRow.indexOf(key.text().at(0)));
}

void SetupGrid(QTableWidget* grid, const QFont& font) {
    grid->setFont(font);
    grid->setWordWrap(false);
    grid->setShowGrid(true);
    grid->setTabKeyNavigation(false);
    // Reached with Tab, never by a click: a click on the grid during a
    // problem leaves the focus in the answer field.
    grid->setFocusPolicy(Qt::TabFocus);
    grid->setTextElideMode(Qt::ElideNone);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    Form1 = this;
    setFont(PixelFont("System", 13));
    setupUi(this);
    LoadIcons(this);
    move(336, 136); // the design position, until a stored one is read
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const QFont arial = PixelFont("Arial", 37);
    // The problem row and the verdicts are out of view until a practice.
    SetLookWhenShown(L1, arial, Qt::black);
    SetLookWhenShown(oper, arial, Qt::red);
    SetLookWhenShown(L2, arial, Qt::black);
    SetLookWhenShown(rovn, PixelFont("Arial", 35), QColor(0x00, 0xff, 0x00));
    SetLookWhenShown(vy, arial, Qt::black);
    SetLookWhenShown(spravne, PixelFont("MS Sans Serif", 37, true), QColor(0x00, 0x00, 0x80));
    SetLookWhenShown(spatne, PixelFont("MS Sans Serif", 37, true, true), Qt::red);
    SetLookWhenShown(reseni, PixelFont("Arial", 30, true), QColor(0x00, 0x00, 0x80));
    SetupGrid(vysl, font());
    SetupGrid(celk, font());
    // The totals row is disabled but reads as plainly as the tally grid.
    QPalette totals = celk->palette();
    totals.setColor(QPalette::Disabled, QPalette::Text,
                    totals.color(QPalette::Active, QPalette::Text));
    celk->setPalette(totals);
    vy->installEventFilter(this);
    // "Konec počítání" reaches under the panel's place; it stays in front.
    konec->raise();

    Wire(this, nasob, &QPushButton::clicked, &TForm1::nasobClick);
    Wire(this, delen, &QPushButton::clicked, &TForm1::delenClick);
    Wire(this, scitan, &QPushButton::clicked, &TForm1::scitanClick);
    Wire(this, ocitan, &QPushButton::clicked, &TForm1::ocitanClick);
    Wire(this, nah, &QPushButton::clicked, &TForm1::nahClick);
    Wire(this, konec, &QPushButton::clicked, &TForm1::konecClick);
    Wire(this, BitBtn5, &QPushButton::clicked, &TForm1::BitBtn5Click);
    Wire(this, nuluj, &QPushButton::clicked, &TForm1::nulujClick);
    WireMenu(this, nast, &TForm1::nastClick);
    WireMenu(this, informace1, &TForm1::informace1Click);
    WireMenu(this, Manul1, &TForm1::Manul1Click);
    WireMenu(this, Pklady1, &TForm1::Pklady1Click);
    WireMenu(this, dite, &TForm1::diteClick);
    WireMenu(this, pokrok, &TForm1::pokrokClick);
    // Like the settings, the choice of the child waits for the end of a problem.
    connect(nast, &QAction::enabledChanged, dite, &QAction::setEnabled);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == MainMenu1 && old && old != MainMenu1 && old->window() == this)
            FocusBeforeMenu = old;
    });

    PositionKnown = WindowPositionKnown(QGuiApplication::platformName());
    RunStep([this] { FormCreate(); });
}

void TForm1::FormCreate() {
    {
        TProfileFile ini(GetFamilyIniPath());
        move(ini.ReadInteger(QStringLiteral("Ploha"), QStringLiteral("X"), x()), y());
        move(x(), ini.ReadInteger(QStringLiteral("Ploha"), QStringLiteral("y"), y()));
    }
    PositionAtStart = pos();
    // A position stored before a change of monitors may be out of reach.
    // The window must fit in its taller layout, the problem's, with room for
    // a title bar; the file keeps the stored position until "&Konec".
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    const QSize outer =
        OuterSize(this, QSize(532, MainMenu1->sizeHint().height() + ProblemClientHeight));
    move(PlaceOnScreens(pos(), outer, areas));
    PracticeState.HomeLeft = x();
    PracticeState.HomeTop = y();
    PracticeState.MasterPassword = QString::fromLatin1(MasterPasswordText);
    SetCell(vysl, 2, 0, QStringLiteral("Dobře"));
    SetCell(vysl, 3, 0, QStringLiteral("Špatně"));
    SetCell(vysl, 1, 1, QStringLiteral("Sčítání"));
    SetCell(vysl, 1, 2, QStringLiteral("Odčítání"));
    SetCell(vysl, 1, 3, QStringLiteral("Násobení "));
    SetCell(vysl, 1, 4, QStringLiteral("Dělení"));
    SetCell(celk, 1, 0, QStringLiteral("Celkem"));
    TitleGrids();
    nuluj->move(303, 168);
    BitBtn5->move(409, BitBtn5->y());
    BitBtn5->move(BitBtn5->x(), 168);
    LoadSettings();
    ShowIdleLayout();
    EmptyAnswerField();
}

void EmptyAnswerField() {
    // Setting the text, unlike clearing it, also forgets the undo history:
    // Ctrl+Z never brings back an answer already judged.
    Form1->vy->setText(QString());
}

void ShowProblemLayout() {
    Form1->nuluj->setEnabled(false);
    Form1->vy->setFocus();
    Form1->BitBtn5->setEnabled(false);
    SetOuterHeight(ProblemClientHeight);
    for (QWidget* w : ProblemRow())
        w->show();
    // A hidden field cannot take the focus; now that it is shown it does.
    Form1->vy->setFocus();
}

void ShowIdleLayout() {
    Form1->nuluj->setEnabled(true);
    Form1->BitBtn5->setEnabled(true);
    PracticeState.RandomMode = false;
    SetOuterHeight(IdleClientHeight);
    for (QWidget* w : ProblemRow())
        w->hide();
}

void TForm1::nasobClick() {
    nast->setEnabled(false);
    PracticeState.OpDiv = false;
    PracticeState.OpAdd = false;
    PracticeState.OpSub = false;
    ShowProblemLayout();
    SetOperator(TOperation::Multiplication);
    NextProblem(TOperation::Multiplication, PracticeState.Operand1, PracticeState.Operand2);
    WriteOperands();
    PracticeState.OpMul = true;
    SpeakProblem();
}

void TForm1::delenClick() {
    nast->setEnabled(false);
    PracticeState.OpMul = false;
    PracticeState.OpAdd = false;
    PracticeState.OpSub = false;
    ShowProblemLayout();
    NextProblem(TOperation::Division, PracticeState.Operand1, PracticeState.Operand2);
    WriteOperands();
    SetOperator(TOperation::Division);
    PracticeState.OpDiv = true;
    SpeakProblem();
}

void TForm1::scitanClick() {
    nast->setEnabled(false);
    EmptyAnswerField();
    ShowProblemLayout();
    PracticeState.OpMul = false;
    PracticeState.OpDiv = false;
    PracticeState.OpAdd = true;
    PracticeState.OpSub = false;
    NextProblem(TOperation::Addition, PracticeState.Operand1, PracticeState.Operand2);
    WriteOperands();
    SetOperator(TOperation::Addition);
    SpeakProblem();
}

void TForm1::ocitanClick() {
    nast->setEnabled(false);
    ShowProblemLayout();
    PracticeState.OpMul = false;
    PracticeState.OpDiv = false;
    PracticeState.OpAdd = false;
    PracticeState.OpSub = true;
    NextProblem(TOperation::Subtraction, PracticeState.Operand1, PracticeState.Operand2);
    WriteOperands();
    SetOperator(TOperation::Subtraction);
    SpeakProblem();
}

void TForm1::nahClick() {
    nast->setEnabled(false);
    PracticeState.RandomMode = true;
    const TRandomMix mix = CurrentRandomMix();
    const std::optional<TOperation> back = ReturnOperation(mix);
    switch (back ? *back : ChooseRandomOperation(mix)) {
    case TOperation::Addition:
        scitanClick();
        break;
    case TOperation::Subtraction:
        ocitanClick();
        break;
    case TOperation::Multiplication:
        nasobClick();
        break;
    case TOperation::Division:
        delenClick();
        break;
    }
}

void TForm1::konecClick() {
    {
        TProfileFile ini(GetIniPath());
        SaveTallies(ini);
    }
    nast->setEnabled(true);
    ShowIdleLayout();
}

void TForm1::BitBtn5Click() {
    SaveAtEnd();
    Ending = true;
    close();
}

void TForm1::SaveAtEnd() {
    TProfileFile ini(GetIniPath());
    SaveTallies(ini);
    // The position is the family's, in the data folder's own file.
    TProfileFile family(GetFamilyIniPath());
    const QPoint at = PositionKnown ? pos() : PositionAtStart;
    family.WriteInteger(QStringLiteral("Ploha"), QStringLiteral("X"), at.x());
    family.WriteInteger(QStringLiteral("Ploha"), QStringLiteral("y"), at.y());
}

void TForm1::nulujClick() {
    // Under protection nothing, not even the list of mistakes, is cleared
    // before the gate has accepted a password.
    if (setpoc->joheslo->isChecked() && !PasswordDlg1->AskPassword())
        return;
    // A list that cannot be saved stops the reset here.
    vyslForm->BitBtn2Click();
    ResetTallies();
}

void TForm1::nastClick() {
    if (!PasswordDlg1->AskIfProtected())
        return;
    setpoc->exec();
    // The facts shown follow the tables, divisors and ranges just set.
    RefreshPokrok();
}

void TForm1::informace1Click() {
    AboutBox->exec();
}

void TForm1::Manul1Click() {
    manual->show();
    manual->raise();
    manual->activateWindow();
}

void TForm1::Pklady1Click() {
    vyslForm->exec();
}

void TForm1::diteClick() {
    const int picked = Vyberdite->Choose();
    if (picked >= 0)
        SwitchChild(picked);
}

void TForm1::pokrokClick() {
    // Made at its first opening, so that a start never pays for it.
    if (!Pokrok)
        Pokrok = new TPokrok;
    Pokrok->Open();
}

void TForm1::ReturnFocusFromMenu() {
    if (focusWidget() != MainMenu1)
        return;
    if (FocusBeforeMenu && FocusBeforeMenu->isVisible() && FocusBeforeMenu->isEnabled())
        FocusBeforeMenu->setFocus(Qt::MenuBarFocusReason);
    else
        focusNextChild();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The close box (Alt+F4, the end of the session) ends the program as
    // "&Konec" does; a save that fails is shown, and the program still ends,
    // since every judged answer was saved when it was given.
    if (!Ending)
        RunStep([this] { SaveAtEnd(); });
    event->accept();
    QCoreApplication::quit();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == vy && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QString text = key->text();
        // The Czech keyboard gives letters on the digit row without Shift;
        // the field takes the digit printed on the key.
        const int digit = DigitRowDigit(*key);
        if (digit >= 0) {
            QKeyEvent digitKey(QEvent::KeyPress, Qt::Key_0 + digit, key->modifiers(),
                               QString(QChar(u'0' + digit)), key->isAutoRepeat());
            QCoreApplication::sendEvent(vy, &digitKey);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            text = QStringLiteral("\r");
        if (text.size() == 1) {
            QChar character = text.at(0);
            RunStep([this, &character] { vyKeyPress(character); });
            PauseKeyDrop.End();
            if (character.isNull())
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void UpdateTotals() {
    PracticeState.OkTotal = SumCounts(PracticeState.OkAdd, PracticeState.OkSub, PracticeState.OkMul,
                                      PracticeState.OkDiv);
    SetCell(Form1->celk, 2, 0, CellText(PracticeState.OkTotal));
    PracticeState.BadTotal = SumCounts(PracticeState.BadAdd, PracticeState.BadSub,
                                       PracticeState.BadMul, PracticeState.BadDiv);
    SetCell(Form1->celk, 3, 0, CellText(PracticeState.BadTotal));
}

namespace {

// What the evaluation needs to know of one operation.
struct TJudged {
    bool TPracticeState::*Flag;
    int TPracticeState::*Ok;
    int TPracticeState::*Bad;
    int Row;
    const char* LineText;
    void (TForm1::*Handler)();
    TOperation Op;
};

const TJudged Multiplication = {
    &TPracticeState::OpMul, &TPracticeState::OkMul,    &TPracticeState::BadMul, 3, MulLineText,
    &TForm1::nasobClick,    TOperation::Multiplication};
const TJudged Division = {
    &TPracticeState::OpDiv, &TPracticeState::OkDiv, &TPracticeState::BadDiv, 4, DivLineText,
    &TForm1::delenClick,    TOperation::Division};
const TJudged Addition = {
    &TPracticeState::OpAdd, &TPracticeState::OkAdd, &TPracticeState::BadAdd, 1, AddLineText,
    &TForm1::scitanClick,   TOperation::Addition};
const TJudged Subtraction = {
    &TPracticeState::OpSub, &TPracticeState::OkSub, &TPracticeState::BadSub, 2, SubLineText,
    &TForm1::ocitanClick,   TOperation::Subtraction};

bool IsCorrect(const TJudged& op, int value) {
    const int a = PracticeState.Operand1;
    const int b = PracticeState.Operand2;
    if (&op == &Addition)
        return static_cast<long long>(a) + b == value;
    if (&op == &Subtraction)
        return static_cast<long long>(a) - b == value;
    if (&op == &Multiplication)
        return static_cast<int>(static_cast<unsigned>(a) * static_cast<unsigned>(b)) == value;
    // Division compares the quotient as a floating-point number; the first
    // operand is always a multiple of the divisor.
    return b != 0 && static_cast<long double>(value) ==
                         static_cast<long double>(a) / static_cast<long double>(b);
}

// The right result of the problem on screen, as text.
QString Solution(const TJudged& op) {
    const long long a = PracticeState.Operand1;
    const long long b = PracticeState.Operand2;
    if (&op == &Addition)
        return QString::number(a + b);
    if (&op == &Subtraction)
        return QString::number(a - b);
    if (&op == &Multiplication)
        return QString::number(a * b);
    return b != 0 ? QString::number(a / b) : QString();
}

// The moment of the Enter that is being judged.
struct TEnter {
    long long Elapsed; // on Clock->ElapsedMs()
    QDateTime Local;
};

// Adds the judged answer to the journal. A journal that cannot be written
// does not hold the practice up: its failure is handed back to be shown
// once in a run.
void RecordAnswer(const TJudged& op, bool correct, const TEnter& enter,
                  std::exception_ptr& journalFailed) {
    TJournalEntry entry;
    entry.Date = enter.Local.date();
    entry.Time = enter.Local.time();
    entry.Op = op.Op;
    entry.A = PracticeState.Operand1;
    entry.B = PracticeState.Operand2;
    entry.Answer = PracticeState.AnswerText;
    entry.Correct = correct;
    entry.Ms = std::max(0LL, enter.Elapsed - PracticeState.ShownAt);
    try {
        AppendJournal(GetJournalPath(), entry);
    } catch (...) {
        if (!PracticeState.JournalFailureShown && !journalFailed)
            journalFailed = std::current_exception();
    }
}

void Evaluate(const TJudged& op, const TEnter& enter, std::exception_ptr& journalFailed) {
    for (const TJudged* other : {&Multiplication, &Division, &Addition, &Subtraction})
        if (other != &op)
            PracticeState.*(other->Flag) = false;
    const int value = ParseAnswer(PracticeState.AnswerText);
    const bool correct = IsCorrect(op, value);
    if (correct) {
        if (SoundPlayer)
            SoundPlayer->Play(QStringLiteral("ok.dat"));
        Form1->spravne->show();
        Form1->spatne->hide();
        SpeakVerdict(true);
        IncrementCount(PracticeState.*(op.Ok));
        SetCell(Form1->vysl, 2, op.Row, CellText(PracticeState.*(op.Ok)));
    } else {
        if (SoundPlayer)
            SoundPlayer->Play(QStringLiteral("bad.dat"));
        vyslForm->AddLine(
            WrongAnswerLine(PracticeState.Operand1, op.LineText, PracticeState.Operand2, value));
        Form1->spatne->show();
        Form1->spravne->hide();
        SetLabelText(Form1->reseni, QStringLiteral("%1 %2 %3 = %4")
                                        .arg(PracticeState.Operand1)
                                        .arg(Form1->oper->text())
                                        .arg(PracticeState.Operand2)
                                        .arg(Solution(op)));
        Form1->reseni->show();
        SpeakVerdict(false);
        IncrementCount(PracticeState.*(op.Bad));
        SetCell(Form1->vysl, 3, op.Row, CellText(PracticeState.*(op.Bad)));
    }
    UpdateTotals();
    RecordAnswer(op, correct, enter, journalFailed);
    NoteJudged(op.Op, PracticeState.Operand1, PracticeState.Operand2, correct);
    Form1->repaint();
    WaitSeconds(2);
    PauseKeyDrop.Begin();
    if (!PracticeState.RandomMode)
        (Form1->*(op.Handler))();
}

} // namespace

namespace {

// The list and the counts are saved after every judged answer, so that no
// answer is lost however the program ends. A failed save is handed back to
// be shown once the practice has gone on.
std::exception_ptr SaveAnswered() {
    std::exception_ptr failed;
    try {
        vyslForm->SaveList();
    } catch (...) {
        failed = std::current_exception();
    }
    try {
        TProfileFile ini(GetIniPath());
        SaveTallies(ini);
    } catch (...) {
        if (!failed)
            failed = std::current_exception();
    }
    return failed;
}

} // namespace

void TForm1::vyKeyPress(QChar& key) {
    const bool enter = key == QLatin1Char('\r');
    std::exception_ptr failed;
    std::exception_ptr journalFailed;
    if (enter) {
        key = QChar();
        // An Enter on an empty field is a slip of the finger, not an answer.
        if (vy->text().trimmed().isEmpty())
            return;
        const TEnter moment{Clock->ElapsedMs(), Clock->LocalNow()};
        PracticeState.AnswerText = vy->text();
        // The lines of earlier runs come first in the list. A file that
        // cannot be read does not keep the answer from being judged; the
        // save below reports it and ends this Enter.
        try {
            vyslForm->KeepEarlierRuns();
        } catch (const EZirmonError&) {
        }
        for (const TJudged* op : {&Multiplication, &Division, &Addition, &Subtraction})
            if (PracticeState.*(op->Flag))
                Evaluate(*op, moment, journalFailed);
        EmptyAnswerField();
        failed = SaveAnswered();
    }
    spravne->hide();
    spatne->hide();
    reseni->hide();
    if (PracticeState.RandomMode && enter)
        nahClick();
    if (failed)
        std::rethrow_exception(failed);
    if (journalFailed) {
        PracticeState.JournalFailureShown = true;
        std::rethrow_exception(journalFailed);
    }
}
