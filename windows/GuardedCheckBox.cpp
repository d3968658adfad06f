#include "windows/GuardedCheckBox.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// The box as a screen reader sees it. Qt's own check box interface toggles
// the box directly; here both actions click it, so the guard asks as it does
// for a click of the mouse.
class TGuardedAccessible : public QAccessibleWidget {
public:
    explicit TGuardedAccessible(TGuardedCheckBox* box)
        : QAccessibleWidget(box, QAccessible::CheckBox) {}

    TGuardedCheckBox* Box() const { return static_cast<TGuardedCheckBox*>(widget()); }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Box()->isChecked();
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Box()->accessibleName().isEmpty()) {
            QString name = Box()->text();
            name.replace(QLatin1String("&&"), QLatin1String("\x01"));
            name.remove(QLatin1Char('&'));
            name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
            return name.trimmed();
        }
        if (t == QAccessible::Accelerator)
            return Box()->shortcut().toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (Box()->isEnabled()) {
            names.prepend(toggleAction());
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& action) override {
        if (!Box()->isEnabled())
            return;
        if (action == pressAction() || action == toggleAction())
            Box()->animateClick(); // a click a moment later, through the guard
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction() && !Box()->shortcut().isEmpty())
            return {Box()->shortcut().toString(QKeySequence::NativeText)};
        return {};
    }
};

QAccessibleInterface* GuardedAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TGuardedCheckBox") && object && object->isWidgetType())
        return new TGuardedAccessible(static_cast<TGuardedCheckBox*>(object));
    return nullptr;
}

} // namespace

TGuardedCheckBox::TGuardedCheckBox(QWidget* parent) : QCheckBox(parent) {
    static const bool factory = (QAccessible::installFactory(&GuardedAccessible), true);
    Q_UNUSED(factory);
}

void TGuardedCheckBox::nextCheckState() {
    if (isChecked() && MayUntick && !MayUntick())
        return;
    QCheckBox::nextCheckState();
}
