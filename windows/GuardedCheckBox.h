#pragma once

#include <QCheckBox>
#include <functional>

// A check box that asks before the user unticks it. Only the user's own
// change (a click, Space, an accelerator, a screen reader's press or toggle)
// asks; setChecked from the program does not.
class TGuardedCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit TGuardedCheckBox(QWidget* parent = nullptr);

    // Asked before a ticked box is unticked by the user; false keeps it ticked.
    std::function<bool()> MayUntick;

protected:
    void nextCheckState() override;
};
