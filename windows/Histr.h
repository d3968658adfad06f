#pragma once

#include "ui_Histr.h"

#include <QDialog>

class QShowEvent;

class Thist : public QDialog, public Ui::Thist {
    Q_OBJECT

public:
    explicit Thist(QWidget* parent = nullptr);

    void FormCreate();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;
};

extern Thist* hist;
