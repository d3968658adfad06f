#include "windows/About.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
