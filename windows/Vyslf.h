#pragma once

#include "ui_Vyslf.h"

#include <QDialog>

// The wrong-answer list. The list lives only as the text of Memo1, which
// exists from start to end of the program.
class TvyslForm : public QDialog, public Ui::TvyslForm {
    Q_OBJECT

public:
    explicit TvyslForm(QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();

    // The list as one text, lines joined by CR LF.
    QString ListText() const;
    void SetListText(const QString& text);
    // Adds one line at the end of the list.
    void AddLine(const QString& line);
    // Reads the list file into the list / writes the list to the file.
    // Until the file has been read once, its lines come before those added
    // in this run, and a save reads it first (a missing file is no error
    // there): a file that cannot be read is never saved over.
    void LoadList();
    void SaveList();
    // Brings in the lines of earlier runs unless they are in already.
    void KeepEarlierRuns();
    // Shows the list of the child practising now, read from their file.
    void ReloadList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool ListLoaded = false; // the file's lines are in the list
};

extern TvyslForm* vyslForm;

// The list's lines at start and after "Vymazat vše".
QString DesignListText();
QString ClearedListText();
