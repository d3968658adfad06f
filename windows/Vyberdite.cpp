#include "windows/Vyberdite.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "practice/Returns.h"
#include "store/Errors.h"
#include "store/Family.h"
#include "store/Settings.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Pokrok.h"
#include "windows/Vyslf.h"

#include <QKeyEvent>
#include <QShowEvent>
#include <algorithm>

TVyberdite* Vyberdite = nullptr;

TVyberdite::TVyberdite(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const QFont large = PixelFont("MS Sans Serif", 20, true);
    // Enter picks only the child whose button has the focus, never one the
    // dialog would make its default.
    setFocusPolicy(Qt::StrongFocus);
    for (int i = 0; i < MaxChildren; ++i) {
        QPushButton* button = Button(i);
        button->setFont(large);
        button->setAutoDefault(false);
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
        button->setDefault(false);
    }
    adjustSize();
    Picked = -1;
    // Nobody is chosen yet: a child pressing Enter at once must not open a
    // brother's files. The arrows, Tab or a child's Alt+number choose.
    setFocus();
    return exec() == QDialog::Accepted ? Picked : -1;
}

void TVyberdite::keyPressEvent(QKeyEvent* event) {
    const QList<TChild>& children = PracticeState.Children;
    const int shown = std::min<int>(children.size(), MaxChildren);
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focused && focused->isVisible())
            focused->click();
        return; // on the window itself Enter chooses nobody
    case Qt::Key_Down:
    case Qt::Key_Right:
        if (!focused && shown > 0)
            Button(0)->setFocus();
        return;
    case Qt::Key_Up:
    case Qt::Key_Left:
        if (!focused && shown > 0)
            Button(shown - 1)->setFocus();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TVyberdite::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    move(PracticeState.HomeLeft + 100, PracticeState.HomeTop + 60);
    KeepInView(this, Form1);
}

void SwitchChild(int index) {
    const int before = PracticeState.Child;
    PracticeState.Child = index;
    try {
        LoadSettings();
    } catch (...) {
        // The files in use stay the earlier child's, and the title says so.
        PracticeState.Child = before;
        try {
            LoadSettings();
        } catch (...) {
        }
        ShowFamily();
        throw;
    }
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
    // Who practised last is only a note for the next start: a family file
    // that cannot be written now changes nothing of the switch, and the
    // next change of the family reports it.
    if (before != index) {
        try {
            SaveFamily();
        } catch (const EZirmonError&) {
        }
    }
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
