#include "windows/Histr.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/SvgIcon.h"

#include <QShowEvent>

Thist* hist = nullptr;

Thist::Thist(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    LoadIcons(this);
    MakeToolWindow(this, 361, 368);
    KeepEnterInTextBox(Memo1);
    ShowResourceTextWhenShown(Memo1, QStringLiteral(":/texts/history.txt"));
    Memo1->setFocus();
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunStep([this] { BitBtn1Click(); }); });
    RunStep([this] { FormCreate(); });
}

void Thist::FormCreate() {
    move(x(), PracticeState.HomeTop + 100);
    move(PracticeState.HomeLeft + 100, y());
}

void Thist::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        KeepInView(this, Form1);
}

void Thist::BitBtn1Click() {
    hide();
}
