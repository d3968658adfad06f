#include "windows/Nastzirm.h"

#include "app/ErrorBox.h"
#include "practice/Generators.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/Family.h"
#include "store/ProfileFile.h"
#include "store/Settings.h"
#include "windows/Access.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Passwd.h"
#include "windows/SvgIcon.h"
#include "windows/Vyberdite.h"
#include "windows/Zadanhe.h"

#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QShortcutEvent>
#include <QShowEvent>
#include <QTabBar>
#include <array>

Tsetpoc* setpoc = nullptr;

namespace {

using TTenBoxes = std::array<QCheckBox*, 10>;

TTenBoxes MulBoxes(const Tsetpoc* d) {
    return {d->nass1, d->nass2, d->nass3, d->nass4, d->nass5,
            d->nass6, d->nass7, d->nass8, d->nass9, d->nass10};
}

TTenBoxes DivBoxes(const Tsetpoc* d) {
    return {d->del1, d->del2, d->del3, d->del4, d->del5,
            d->del6, d->del7, d->del8, d->del9, d->del10};
}

bool AnyTicked(const TTenBoxes& boxes) {
    for (const QCheckBox* box : boxes) {
        if (box->isChecked())
            return true;
    }
    return false;
}

// Setting a radio button on turns the others of its page off; setting it
// off turns no other on, so a page may be left with none selected.
void SetRadio(QRadioButton* button, bool on) {
    if (on) {
        button->setChecked(true);
        return;
    }
    if (!button->isChecked())
        return;
    // Qt refuses to clear the selected button of an exclusive group.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

} // namespace

Tsetpoc::Tsetpoc(QWidget* parent) : QDialog(parent) {
    SetLook(this, PixelFont("MS Sans Serif", 11, true), Qt::black);
    setupUi(this);
    LoadIcons(this);
    MakeFixedDialog(this, 393, 348);
    scitan->tabBar()->setFont(PixelFont("MS Sans Serif", 11));
    SetLook(Label1, PixelFont("MS Sans Serif", 11, true), Qt::red);
    SetLook(Label3, PixelFont("MS Sans Serif", 11, true), Qt::red);
    SetLook(Label2, PixelFont("MS Sans Serif", 11), Qt::red);
    SetLook(Label4, PixelFont("MS Sans Serif", 11), Qt::red);
    SizeToText(Label7);
    SizeToText(Label8);
    // The first opening starts on OK; later ones where the user left off.
    OKBtn->setFocus();

    // Alt+O is OK's key on every page; on "Obecné" "  &Odčítání" shares
    // the letter, and Qt would only move the focus between the two.
    OKBtn->installEventFilter(this);
    okod->installEventFilter(this);
    // "Odčítání" keeps its underlined O but not the key, which is OK's; a
    // screen reader is not told of a key the box does not have.
    okod->setShortcut(QKeySequence());
    NamePages(scitan);

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        setResult(QDialog::Accepted);
        RunStep([this] { OKBtnClick(); });
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, [this] {
        setResult(QDialog::Rejected);
        RunStep([this] { CancelBtnClick(); });
        reject();
    });
    // With a password stored, only someone who knows it switches the
    // protection off.
    joheslo->MayUntick = [] {
        return PracticeState.StoredPassword.isEmpty() ||
               (PasswordDlg1 && PasswordDlg1->AskPassword());
    };
    connect(joheslo, &QCheckBox::toggled, this, [this] { RunStep([this] { johesloClick(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { RunStep([this] { Button1Click(); }); });
    connect(pridat, &QPushButton::clicked, this, [this] { RunStep([this] { pridatClick(); }); });
    connect(prejmenovat, &QPushButton::clicked, this,
            [this] { RunStep([this] { prejmenovatClick(); }); });
    connect(odebrat, &QPushButton::clicked, this, [this] { RunStep([this] { odebratClick(); }); });
    connect(seznamDeti, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < PracticeState.Children.size())
            jmeno->setText(PracticeState.Children[row].Name);
    });

    RunStep([this] { FormCreate(); });
}

void Tsetpoc::FormCreate() {
    Button1->setEnabled(joheslo->isChecked());
    joheslo->setChecked(PracticeState.ProtectReset);
    // The random mix reads these boxes from the first problem of a run on.
    oksc->setChecked(PracticeState.PickAdd);
    okod->setChecked(PracticeState.PickSub);
    okna->setChecked(PracticeState.PickMul);
    okde->setChecked(PracticeState.PickDiv);
    SetLabelText(Label1, QStringLiteral("POZOR!!"));
    SetLabelText(Label3, QStringLiteral("POZOR!!"));
    SetLabelText(Label2, QStringLiteral("Musí být označena alespoň jedna z možností"));
    SetLabelText(Label4, QStringLiteral("Musí být označena alespoň jedna z možností"));
}

// An opening: FormShow, the centring of the first opening, FormActivate.
// The activation step belongs to the opening, so coming back from a message
// box or the password dialog on top of this one does not run it again.
void Tsetpoc::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    RunStep([this] { FormShow(); });
    CentreOnFirstShowing(this, Shown);
    RunStep([this] { FormActivate(); });
    KeepInView(this, Form1);
}

void Tsetpoc::keyPressEvent(QKeyEvent* event) {
    // Esc is the cancel button's key.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CancelBtn->click();
        return;
    }
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from anywhere in the
    // dialog, not only from inside the notebook.
    const int pages = scitan->count();
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        scitan->setCurrentIndex((scitan->currentIndex() + 1) % pages);
        return;
    }
    if (event->key() == Qt::Key_Backtab &&
        event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        scitan->setCurrentIndex((scitan->currentIndex() + pages - 1) % pages);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Tsetpoc::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->key() == OKBtn->shortcut()) {
        OKBtn->animateClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tsetpoc::FormShow() {
    move(x(), PracticeState.HomeTop);
    move(PracticeState.HomeLeft, y());
}

void Tsetpoc::FormActivate() {
    move(PracticeState.HomeLeft, y());
    move(x(), PracticeState.HomeTop);
    LoadSettings();
    // In the generators' order, so a later range overrides an earlier one.
    SetRadio(scitbezpr, PracticeState.AddTo20NoCarry);
    SetRadio(scitdodes, PracticeState.AddTo10);
    SetRadio(scitdodvac, PracticeState.AddTo20);
    SetRadio(scitdosta, PracticeState.AddTo100);
    SetRadio(odcitbezpr, PracticeState.SubTo20NoCarry);
    SetRadio(odcitdodes, PracticeState.SubTo10);
    SetRadio(odcitdodvac, PracticeState.SubTo20);
    SetRadio(odcitdosta, PracticeState.SubTo100);
    const TTenBoxes mul = MulBoxes(this);
    for (int k = 1; k <= 10; ++k)
        mul[k - 1]->setChecked(PracticeState.MulTable[k]);
    const TTenBoxes div = DivBoxes(this);
    for (int k = 1; k <= 10; ++k)
        div[k - 1]->setChecked(PracticeState.DivBy[k]);
    oksc->setChecked(PracticeState.PickAdd);
    okod->setChecked(PracticeState.PickSub);
    okna->setChecked(PracticeState.PickMul);
    okde->setChecked(PracticeState.PickDiv);
    vracet->setChecked(PracticeState.ReturnMissed);
    ShowChildren();
}

void Tsetpoc::ShowChildren() {
    const int row = seznamDeti->currentRow();
    seznamDeti->clear();
    for (const TChild& child : std::as_const(PracticeState.Children))
        seznamDeti->addItem(child.Name);
    seznamDeti->setCurrentRow(std::min(row, int(seznamDeti->count()) - 1));
}

namespace {

// The row of the list the button acts on, or -1 after saying none is chosen.
int ChosenChild(const QListWidget* list) {
    const int row = list->currentRow();
    if (row < 0 || row >= PracticeState.Children.size()) {
        ShowWarningBox(QStringLiteral("Nejdřív vyberte dítě v seznamu."));
        return -1;
    }
    return row;
}

// A name that cannot be given is said, and nothing changes.
bool NameFits(const QString& name, int index) {
    const QString fault = NameFault(name, index);
    if (!fault.isEmpty())
        ShowWarningBox(fault);
    return fault.isEmpty();
}

bool Confirmed(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(ApplicationTitle), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("OtazkaBox"));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Ne"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setTextFormat(Qt::PlainText); // the question names a child
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void Tsetpoc::pridatClick() {
    if (!NameFits(jmeno->text(), -1))
        return;
    AddChild(jmeno->text());
    jmeno->clear();
    ShowChildren();
    ShowFamily();
}

void Tsetpoc::prejmenovatClick() {
    const int row = ChosenChild(seznamDeti);
    if (row < 0 || !NameFits(jmeno->text(), row))
        return;
    RenameChild(row, jmeno->text());
    ShowChildren();
    ShowFamily();
}

void Tsetpoc::odebratClick() {
    const int row = ChosenChild(seznamDeti);
    if (row < 0)
        return;
    const QList<TChild>& children = PracticeState.Children;
    const QString name = children[row].Name;
    const QString question =
        children.size() == 1
            ? QStringLiteral("Opravdu odebrat dítě %1? Jeho počty a chyby zůstanou ve složce %2.")
                  .arg(name, QDir::toNativeSeparators(DataDirPath()))
            : QStringLiteral("Opravdu odebrat dítě %1? Jeho počty a chyby se přesunou do "
                             "složky %2.")
                  .arg(name, QDir::toNativeSeparators(RemovedFolderPath()));
    if (!Confirmed(this, question))
        return;
    const TChild before = children.value(PracticeState.Child);
    RemoveChild(row);
    jmeno->clear();
    ShowChildren();
    // Whose files the program reads, or where they lie, may have changed.
    const TChild now = children.value(PracticeState.Child);
    if (now.Name != before.Name || now.Folder != before.Folder) {
        SwitchChild(PracticeState.Child);
        FormActivate();
    }
    ShowFamily();
}

void Tsetpoc::OKBtnClick() {
    // Silent corrections: the generators need a table, a divisor and an
    // operation for the random mix.
    if (!AnyTicked(MulBoxes(this)))
        nass1->setChecked(true);
    if (!AnyTicked(DivBoxes(this)))
        del1->setChecked(true);
    if (!oksc->isChecked() && !okod->isChecked() && !okna->isChecked() && !okde->isChecked()) {
        oksc->setChecked(true);
        okod->setChecked(true);
    }
    SaveSettings();
    LoadSettings();
}

void Tsetpoc::CancelBtnClick() {
    // Nothing is saved and nothing restored: the next opening reloads.
}

void Tsetpoc::johesloClick() {
    if (joheslo->isChecked()) {
        Button1->setEnabled(true);
        if (PracticeState.StoredPassword.isEmpty()) {
            ShowInformationBox(
                QStringLiteral("Není nastaveno žádné heslo, prosím nastavte si jej"));
            if (PasswordDlg)
                PasswordDlg->exec();
        }
    } else {
        Button1->setEnabled(false);
    }
}

void Tsetpoc::Button1Click() {
    if (PasswordDlg)
        PasswordDlg->exec();
}

void SaveSettings() {
    {
        TProfileFile ini(GetIniPath());
        auto put = [](TProfileFile& file, const char* section, const QString& key,
                      const QAbstractButton* control) {
            file.WriteBool(QString::fromLatin1(section), key, control->isChecked());
        };
        put(ini, "Scitani", QStringLiteral("do10"), setpoc->scitdodes);
        put(ini, "Scitani", QStringLiteral("do20"), setpoc->scitdodvac);
        put(ini, "Scitani", QStringLiteral("do100"), setpoc->scitdosta);
        put(ini, "Scitani", QStringLiteral("bezpr"), setpoc->scitbezpr);
        put(ini, "Odcitani", QStringLiteral("do10"), setpoc->odcitdodes);
        put(ini, "Odcitani", QStringLiteral("do20"), setpoc->odcitdodvac);
        put(ini, "Odcitani", QStringLiteral("do100"), setpoc->odcitdosta);
        put(ini, "Odcitani", QStringLiteral("bezpr"), setpoc->odcitbezpr);
        const TTenBoxes mul = MulBoxes(setpoc);
        for (int k = 1; k <= 10; ++k)
            put(ini, "Nasobeni", QStringLiteral("nas%1").arg(k), mul[k - 1]);
        const TTenBoxes div = DivBoxes(setpoc);
        for (int k = 1; k <= 10; ++k)
            put(ini, "Deleni", QStringLiteral("del%1").arg(k), div[k - 1]);
        put(ini, "Vyber", QStringLiteral("scit"), setpoc->oksc);
        put(ini, "Vyber", QStringLiteral("odcit"), setpoc->okod);
        put(ini, "Vyber", QStringLiteral("nasob"), setpoc->okna);
        put(ini, "Vyber", QStringLiteral("delen"), setpoc->okde);
        put(ini, "Vyber", QStringLiteral("vracet"), setpoc->vracet);
        // The protection and the password are the family's: for a single
        // child the same file, written in the same order.
        TProfileFile family(GetFamilyIniPath());
        put(family, "joheslo", QStringLiteral("hsl"), setpoc->joheslo);
        SaveTallies(ini);
        family.WriteString(QStringLiteral("PASSWD"), QStringLiteral("USRPASSWD"),
                           PracticeState.StoredPassword);
    }
    LoadSettings();
}

TRandomMix CurrentRandomMix() {
    // Before the dialog exists the boxes are as designed.
    if (!setpoc)
        return {true, true, false, false};
    return {setpoc->oksc->isChecked(), setpoc->okod->isChecked(), setpoc->okna->isChecked(),
            setpoc->okde->isChecked()};
}
