#pragma once

#include "ui_Man.h"

#include <QDialog>

class QShowEvent;

class Tmanual : public QDialog, public Ui::Tmanual {
    Q_OBJECT

public:
    explicit Tmanual(QWidget* parent = nullptr);

    void FormCreate();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;
};

extern Tmanual* manual;
