#include "windows/Cells.h"

#include "windows/Access.h"

#include <QTableWidget>

QString GetCell(const QTableWidget* grid, int col, int row) {
    const QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QString();
}

void SetCell(QTableWidget* grid, int col, int row, const QString& text) {
    QTableWidgetItem* item = grid->item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row, col, item);
    }
    if (item->text() == text)
        return;
    item->setText(text);
    CellChanged(grid, col, row);
}
