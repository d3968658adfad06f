#include "windows/Vyberdite.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "practice/Returns.h"
#include "store/Family.h"
#include "store/Settings.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Pokrok.h"
#include "windows/Vyslf.h"

#include <QShowEvent>

TVyberdite* Vyberdite = nullptr;

TVyberdite::TVyberdite(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const QFont large = PixelFont("MS Sans Serif", 20, true);
    for (int i = 0; i < MaxChildren; ++i) {
        QPushButton* button = Button(i);
        button->setFont(large);
        connect(button, &QPushButton::clicked, this, [this, i] {
            Picked = i;
            accept();
        });
    }
}

QPushButton* TVyberdite::Button(int index) const {
    return findChild<QPushButton*>(QStringLiteral("dite%1").arg(index + 1));
}

int TVyberdite::Choose() {
    const QList<TChild>& children = PracticeState.Children;
    for (int i = 0; i < MaxChildren; ++i) {
        QPushButton* button = Button(i);
        const bool used = i < children.size();
        button->setVisible(used);
        if (!used)
            continue;
        QString name = children[i].Name;
        button->setText(
            QStringLiteral("&%1  %2").arg(i + 1).arg(name.replace(u'&', QStringLiteral("&&"))));
        button->setAccessibleName(children[i].Name);
        button->setDefault(i == PracticeState.Child);
    }
    adjustSize();
    Picked = -1;
    if (QPushButton* last = Button(qBound(0, PracticeState.Child, MaxChildren - 1)))
        last->setFocus();
    return exec() == QDialog::Accepted ? Picked : -1;
}

void TVyberdite::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    move(PracticeState.HomeLeft + 100, PracticeState.HomeTop + 60);
    KeepInView(this, Form1);
}

void SwitchChild(int index) {
    if (PracticeState.Child != index) {
        const int before = PracticeState.Child;
        PracticeState.Child = index;
        try {
            SaveFamily();
        } catch (...) {
            PracticeState.Child = before;
            throw;
        }
    }
    LoadSettings();
    // What comes back is the new child's.
    ForgetReturns();
    // The random mix reads the settings' boxes.
    setpoc->oksc->setChecked(PracticeState.PickAdd);
    setpoc->okod->setChecked(PracticeState.PickSub);
    setpoc->okna->setChecked(PracticeState.PickMul);
    setpoc->okde->setChecked(PracticeState.PickDiv);
    vyslForm->ReloadList();
    ShowFamily();
    RefreshPokrok();
}

void ShowFamily() {
    const bool family = PracticeState.Children.size() >= 2;
    Form1->dite->setVisible(family);
    const QString title = QStringLiteral("Zirmon 4.0");
    Form1->setWindowTitle(family ? title + QStringLiteral(" – ") +
                                       PracticeState.Children[PracticeState.Child].Name
                                 : title);
}

bool ChooseAtStart() {
    if (!PracticeState.FamilyIgnored.isEmpty()) {
        ShowWarningBox(QStringLiteral("V souboru rodina.ini bylo vynecháno:\n") +
                       PracticeState.FamilyIgnored.join(u'\n'));
    }
    if (PracticeState.Children.size() >= 2) {
        const int picked = Vyberdite->Choose();
        if (picked < 0)
            return false;
        SwitchChild(picked);
    }
    ShowFamily();
    return true;
}
