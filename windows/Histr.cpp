#include "windows/Histr.h"

Thist* hist = nullptr;

Thist::Thist(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
