// The floor for start-up time and memory: a Qt Widgets program of the same
// shape as Zirmon with none of its logic, files, pictures or sounds. A main
// window with a menu bar of five items, as many labels and buttons as the
// main window has, two grids of 4 x 5 and 5 x 5 cells and a text field; and
// seven dialogs built with as many controls of each kind as Zirmon's, created
// hidden at start.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <vector>

namespace {

struct TDialogShape {
    int Labels, Buttons, Edits, TextBoxes, Checks, Radios, Groups, Pages, Frames;
};

// Control counts of the seven dialogs, in their order of creation.
const TDialogShape DialogShapes[] = {
    {6, 3, 0, 0, 25, 6, 2, 5, 0}, // settings
    {3, 2, 0, 0, 0, 0, 0, 0, 1},  // about
    {0, 1, 0, 1, 0, 0, 0, 0, 0},  // history
    {0, 1, 0, 1, 0, 0, 0, 0, 0},  // manual
    {4, 2, 3, 0, 0, 0, 0, 0, 0},  // password change
    {1, 2, 1, 0, 0, 0, 0, 0, 0},  // password gate
    {0, 2, 0, 1, 0, 0, 0, 0, 0},  // list
};

template <class T> T* Place(QWidget* parent, int& y, const QString& text = QString()) {
    auto* w = new T(parent);
    if constexpr (std::is_constructible_v<T, QString, QWidget*>)
        if (!text.isEmpty())
            w->setProperty("text", text);
    w->setGeometry(8, y, 120, 20);
    y += 22;
    return w;
}

QDialog* MakeDialog(const TDialogShape& s) {
    auto* d = new QDialog;
    QWidget* host = d;
    int y = 4;
    if (s.Pages > 0) {
        auto* tabs = new QTabWidget(d);
        tabs->setGeometry(4, 4, 380, 300);
        for (int i = 0; i < s.Pages; ++i)
            tabs->addTab(new QWidget, QStringLiteral("Page %1").arg(i + 1));
        host = tabs->widget(0);
    }
    for (int i = 0; i < s.Groups; ++i)
        Place<QGroupBox>(host, y)->setTitle(QStringLiteral("Group"));
    for (int i = 0; i < s.Frames; ++i)
        Place<QFrame>(host, y);
    for (int i = 0; i < s.Labels; ++i)
        Place<QLabel>(host, y, QStringLiteral("Label"));
    for (int i = 0; i < s.Checks; ++i)
        Place<QCheckBox>(host, y, QStringLiteral("Check"));
    for (int i = 0; i < s.Radios; ++i)
        Place<QRadioButton>(host, y, QStringLiteral("Radio"));
    for (int i = 0; i < s.Edits; ++i)
        Place<QLineEdit>(host, y);
    for (int i = 0; i < s.TextBoxes; ++i)
        Place<QPlainTextEdit>(host, y)->setPlainText(QStringLiteral("Text"));
    for (int i = 0; i < s.Buttons; ++i)
        Place<QPushButton>(d, y, QStringLiteral("Button"));
    d->resize(400, y + 8);
    return d;
}

QTableWidget* MakeGrid(QWidget* parent, int rows, int columns, int y, int height) {
    auto* grid = new QTableWidget(rows, columns, parent);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid->setItem(r, c, new QTableWidgetItem(QStringLiteral("      0")));
    grid->setGeometry(240, y, 265, height);
    return grid;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Limit"));
    QMenuBar* bar = window.menuBar();
    bar->addAction(QStringLiteral("&Settings"));
    QMenu* about = bar->addMenu(QStringLiteral("&About"));
    about->addAction(QStringLiteral("Information"));
    about->addAction(QStringLiteral("Manual"));
    bar->addAction(QStringLiteral("Problems"));

    auto* central = new QFrame(&window);
    window.setCentralWidget(central);
    int y = 8;
    for (int i = 0; i < 8; ++i)
        Place<QPushButton>(central, y, QStringLiteral("Button"));
    for (int i = 0; i < 6; ++i)
        Place<QLabel>(central, y, QStringLiteral("Label"));
    Place<QLineEdit>(central, y);
    MakeGrid(central, 5, 4, 8, 129);
    MakeGrid(central, 5, 5, 139, 25);
    window.resize(528, 300);

    std::vector<QDialog*> dialogs;
    for (const TDialogShape& shape : DialogShapes)
        dialogs.push_back(MakeDialog(shape));
    window.show();
    const int result = app.exec();
    for (QDialog* d : dialogs)
        delete d;
    return result;
}
