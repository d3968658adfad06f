#pragma once

#include "ui_Nastzirm.h"

#include <QDialog>

class QKeyEvent;
class QShowEvent;

// The settings dialog: ranges, tables, divisors, the random mix and the
// protection of the tally reset. Its random-mix boxes and its protection box
// are read by other units at any time.
class Tsetpoc : public QDialog, public Ui::Tsetpoc {
    Q_OBJECT

public:
    explicit Tsetpoc(QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void FormActivate();
    void OKBtnClick();
    void CancelBtnClick();
    void johesloClick();
    void Button1Click();
    // The page "Děti": the names, and their changes, which take effect at once.
    void ShowChildren();
    void pridatClick();
    void prejmenovatClick();
    void odebratClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Shown = false; // the dialog has been opened once in this run
};

extern Tsetpoc* setpoc;

// Writes the dialog's controls, the tally block and the stored password to
// the settings file, then reads the file back with LoadSettings.
void SaveSettings();
