#include "windows/Access.h"

#include "windows/Cells.h"
#include "windows/Mainzirm.h"

#include <QAccessible>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

void NamePages(QTabWidget* notebook) {
    auto* pages =
        notebook->findChild<QStackedWidget*>(QStringLiteral("qt_tabwidget_stackedwidget"));
    if (!pages)
        return;
    auto name = [notebook, pages] {
        if (QWidget* page = notebook->currentWidget())
            pages->setAccessibleName(page->accessibleName().isEmpty()
                                         ? notebook->tabText(notebook->currentIndex()).remove('&')
                                         : page->accessibleName());
    };
    name();
    QObject::connect(notebook, &QTabWidget::currentChanged, pages, name);
}

namespace {

QString Header(const QTableWidgetItem* item) {
    return item ? item->text() : QString();
}

void SetHeader(QTableWidget* grid, Qt::Orientation orientation, int section, const QString& text) {
    auto* item = new QTableWidgetItem(text.trimmed());
    if (orientation == Qt::Horizontal)
        grid->setHorizontalHeaderItem(section, item);
    else
        grid->setVerticalHeaderItem(section, item);
}

void NameCell(QTableWidget* grid, int col, int row) {
    QTableWidgetItem* item = grid->item(row, col);
    const QString across = Header(grid->verticalHeaderItem(row));
    const QString down = Header(grid->horizontalHeaderItem(col));
    if (!item || across.isEmpty() || down.isEmpty())
        return;
    const QString name =
        across + QStringLiteral(", ") + down + QStringLiteral(", ") + item->text().trimmed();
    if (item->data(Qt::AccessibleTextRole).toString() != name)
        item->setData(Qt::AccessibleTextRole, name);
}

bool IsGrid(const QTableWidget* grid) {
    return Form1 && (grid == Form1->vysl || grid == Form1->celk);
}

} // namespace

void TitleGrids() {
    QTableWidget* const grids[] = {Form1->vysl, Form1->celk};
    for (QTableWidget* grid : grids) {
        for (int col = 0; col < grid->columnCount(); ++col)
            SetHeader(grid, Qt::Horizontal, col, GetCell(Form1->vysl, col, 0));
        for (int row = 0; row < grid->rowCount(); ++row)
            SetHeader(grid, Qt::Vertical, row, GetCell(grid, 1, row));
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int col = 0; col < grid->columnCount(); ++col)
                NameCell(grid, col, row);
    }
}

void CellChanged(QTableWidget* grid, int col, int row) {
    if (!IsGrid(grid))
        return;
    NameCell(grid, col, row);
    if (grid == Form1->celk)
        // The totals row takes no focus; the grid that does reads them too.
        Form1->vysl->setAccessibleDescription(GetCell(grid, 1, 0).trimmed() + QStringLiteral(": ") +
                                              GetCell(Form1->vysl, 2, 0).trimmed() +
                                              QLatin1Char(' ') + GetCell(grid, 2, 0).trimmed() +
                                              QStringLiteral(", ") +
                                              GetCell(Form1->vysl, 3, 0).trimmed() +
                                              QLatin1Char(' ') + GetCell(grid, 3, 0).trimmed());
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    if (!table || !table->tableInterface())
        return;
    if (QAccessibleInterface* cell = table->tableInterface()->cellAt(row, col)) {
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
