#include "windows/About.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "windows/Histr.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/SvgIcon.h"

#include <QPainter>
#include <QWindow>
#include <qdrawutil.h>

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    LoadIcons(this);
    MakeFixedDialog(this, 298, 213);
    const QFont bold = PixelFont("MS Sans Serif", 11, true);
    SetLook(ProductName, bold, Qt::black);
    SetLook(Copyright, bold, Qt::black);
    SetLook(OKButton, bold, Qt::black);
    Panel1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, [this] { RunStep([this] { Button1Click(); }); });
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (ProgramIcon->pixmap().isNull()) {
        // Drawn at its shown size the first time it is needed, sharp on any screen.
        ProgramIcon->setPixmap(
            SvgPixmap(QStringLiteral(":/pictures/zirmon.svg"), QSize(73, 65), devicePixelRatioF()));
    }
    HistoryWasOpen = hist->isVisible();
    OKButton->setFocus();
    QDialog::showEvent(event);
}

void TAboutBox::hideEvent(QHideEvent* event) {
    // The history window shown from here outlives this window.
    if (QWindow* window = hist->windowHandle())
        if (window->transientParent() == windowHandle())
            window->setTransientParent(nullptr);
    QDialog::hideEvent(event);
}

bool TAboutBox::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        RunStep([this] { FormActivate(); });
    return QDialog::event(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Panel1 || event->type() != QEvent::Paint)
        return QDialog::eventFilter(watched, event);
    // The panel's two bevels: a lowered one outside, a raised one inside.
    QPainter painter(Panel1);
    const QRect outer = Panel1->rect();
    qDrawShadePanel(&painter, outer, Panel1->palette(), true, 1);
    qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), Panel1->palette(), false, 1);
    return true;
}

void TAboutBox::FormActivate() {
    move(x(), PracticeState.HomeTop + 100);
    move(PracticeState.HomeLeft + 100, y());
    KeepInView(this, Form1);
}

void TAboutBox::Button1Click() {
    hist->show();
    hist->raise();
    // Shown from this modal window, the history window takes input beside
    // it; one that was already open stays blocked until this one closes.
    if (!HistoryWasOpen)
        hist->windowHandle()->setTransientParent(windowHandle());
    hist->activateWindow();
}
