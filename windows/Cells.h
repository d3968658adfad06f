#pragma once

#include <QString>

class QTableWidget;

// Grid cells addressed as (column, row), both counted from 0.
QString GetCell(const QTableWidget* grid, int col, int row);
void SetCell(QTableWidget* grid, int col, int row, const QString& text);
