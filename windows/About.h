#pragma once

#include "ui_About.h"

#include <QDialog>

class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

extern TAboutBox* AboutBox;
