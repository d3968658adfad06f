#pragma once

class QTabWidget;
class QTableWidget;

// The notebook's page container carries the name of the page in view.
void NamePages(QTabWidget* notebook);

// The title cells of the tally grid become the headers of both grids (the
// headers stay hidden), so a screen reader reads each count with its row and
// column: "Sčítání, Dobře, 3". Run once the title cells are written.
void TitleGrids();

// After a cell's text changed: its spoken name follows, a listening reader
// learns of the change, and a total is also read with the tally grid.
void CellChanged(QTableWidget* grid, int col, int row);
