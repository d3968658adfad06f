#include "windows/Man.h"

Tmanual* manual = nullptr;

Tmanual::Tmanual(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
