#pragma once

#include "ui_Pokrok.h"

#include "practice/Facts.h"
#include "practice/Progress.h"

#include <QDialog>

class QShowEvent;

// The parent's view of the practice: the days with answers and what the
// child knows, fact by fact, read from the journal each time it opens. It
// changes no file; "Uložit jako CSV…" writes a copy of the journal.
class TPokrok : public QDialog, public Ui::TPokrok {
    Q_OBJECT

public:
    explicit TPokrok(QWidget* parent = nullptr);

    // Reads the practising child's journal and shows the window (or brings
    // it to the front, read again).
    void Open();
    // Reads the journal and fills the pages; an unreadable journal is
    // raised after the pages have been emptied.
    void Reload();
    void ulozitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowDays(const QList<TDayProgress>& days);
    void ShowFacts(QTableWidget* grid, TOperation op, const QHash<TFactKey, TFactInfo>& facts);
};

// Made when the parent first opens it, never at start-up.
extern TPokrok* Pokrok;

// An open progress window reads the journal again, for the child who
// practises now and under the settings in use.
void RefreshPokrok();

// The colour of a fact's cell and its mark, by state ("umí rychle" too).
QColor FactColour(const TFactInfo& info);
QString FactMark(const TFactInfo& info);
