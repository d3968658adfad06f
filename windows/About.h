#pragma once

#include "ui_About.h"

#include <QDialog>

class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void FormActivate();
    void Button1Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool HistoryWasOpen = false;
};

extern TAboutBox* AboutBox;
