#include "windows/GuardedCheckBox.h"

void TGuardedCheckBox::nextCheckState() {
    if (isChecked() && MayUntick && !MayUntick())
        return;
    QCheckBox::nextCheckState();
}
