#pragma once

#include "ui_Histr.h"

#include <QDialog>

class Thist : public QDialog, public Ui::Thist {
    Q_OBJECT

public:
    explicit Thist(QWidget* parent = nullptr);

    void FormCreate();
    void BitBtn1Click();
};

extern Thist* hist;
