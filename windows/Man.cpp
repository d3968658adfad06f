#include "windows/Man.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/SvgIcon.h"

#include <QShowEvent>

Tmanual* manual = nullptr;

Tmanual::Tmanual(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    LoadIcons(this);
    MakeToolWindow(this, 412, 373);
    KeepEnterInTextBox(Memo1);
    ShowResourceTextWhenShown(Memo1, QStringLiteral(":/texts/manual.txt"));
    BitBtn1->setFocus();
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunStep([this] { BitBtn1Click(); }); });
    RunStep([this] { FormCreate(); });
}

void Tmanual::FormCreate() {
    move(x(), PracticeState.HomeTop);
    move(PracticeState.HomeLeft, y());
}

void Tmanual::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        KeepInView(this, Form1);
}

void Tmanual::BitBtn1Click() {
    hide();
}
