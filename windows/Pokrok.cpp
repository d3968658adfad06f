#include "windows/Pokrok.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/Errors.h"
#include "store/Journal.h"
#include "store/WholeFile.h"
#include "windows/Access.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/SvgIcon.h"
#include "windows/Zadanhe.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QShowEvent>
#include <QTabBar>
#include <QTableWidget>
#include <iterator>

TPokrok* Pokrok = nullptr;

void RefreshPokrok() {
    if (Pokrok && Pokrok->isVisible())
        Pokrok->Reload();
}

namespace {

const char* const DayHeads[] = {"Den",    "Operace", "Odpovědi",  "Dobře",
                                "Špatně", "Minuty",  "Medián (s)"};

// The states in the order of the legend.
QList<TFactInfo> LegendStates() {
    QList<TFactInfo> states;
    for (TFactState state :
         {TFactState::New, TFactState::Learning, TFactState::Almost, TFactState::Known}) {
        states.append(TFactInfo{});
        states.last().State = state;
    }
    states.append(states.last());
    states.last().Fast = true;
    return states;
}

QTableWidgetItem* ReadOnlyItem(const QString& text, const QString& spoken) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setData(Qt::AccessibleTextRole, spoken);
    return item;
}

QString DayText(QDate date) {
    return date.toString(QStringLiteral("d. M. yyyy"));
}

} // namespace

QColor FactColour(const TFactInfo& info) {
    switch (info.State) {
    case TFactState::New:
        return QColor(0xe4, 0xe4, 0xe4);
    case TFactState::Learning:
        return QColor(0xf2, 0x9b, 0x93);
    case TFactState::Almost:
        return QColor(0xf6, 0xdc, 0x7a);
    case TFactState::Known:
        break;
    }
    return info.Fast ? QColor(0x5c, 0xb8, 0x5c) : QColor(0xb4, 0xe2, 0xa8);
}

QString FactMark(const TFactInfo& info) {
    switch (info.State) {
    case TFactState::New:
        return QString();
    case TFactState::Learning:
        return QStringLiteral("u");
    case TFactState::Almost:
        return QStringLiteral("s");
    case TFactState::Known:
        break;
    }
    return info.Fast ? QStringLiteral("R") : QStringLiteral("U");
}

TPokrok::TPokrok(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    LoadIcons(this);
    MakeToolWindow(this, 760, 500);
    setMinimumSize(560, 400);
    NamePages(stranky);
    stranky->tabBar()->setAccessibleName(QStringLiteral("Stránky pokroku"));

    QString legend;
    QStringList spoken;
    for (const TFactInfo& state : LegendStates()) {
        const QString mark = FactMark(state);
        legend += QStringLiteral("<span style=\"background-color:%1\">&nbsp;%2&nbsp;</span>&nbsp;%3"
                                 "&nbsp;&nbsp;&nbsp; ")
                      .arg(FactColour(state).name(),
                           mark.isEmpty() ? QStringLiteral("&nbsp;") : mark, FactInfoWord(state));
        spoken.append(mark.isEmpty() ? FactInfoWord(state)
                                     : mark + QStringLiteral(" ") + FactInfoWord(state));
    }
    legenda->setText(legend);
    legenda->setAccessibleDescription(spoken.join(QStringLiteral(", ")));
    // The colours belong to the pages of facts.
    legenda->setVisible(false);
    connect(stranky, &QTabWidget::currentChanged, legenda,
            [this](int page) { legenda->setVisible(page > 0); });

    tabulkaDnu->setColumnCount(int(std::size(DayHeads)));
    QStringList heads;
    for (const char* head : DayHeads)
        heads.append(QString::fromUtf8(head));
    tabulkaDnu->setHorizontalHeaderLabels(heads);
    tabulkaDnu->verticalHeader()->hide();
    tabulkaDnu->verticalHeader()->setDefaultSectionSize(22);
    tabulkaDnu->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    faktaNasobeni->setAccessibleDescription(
        QStringLiteral("Řádky: násobilka, sloupce: číslo, které se násobí."));
    faktaDeleni->setAccessibleDescription(QStringLiteral("Řádky: dělitel, sloupce: podíl."));
    faktaScitani->setAccessibleDescription(
        QStringLiteral("Řádky: první sčítanec, sloupce: druhý sčítanec."));
    faktaOdcitani->setAccessibleDescription(QStringLiteral("Řádky: menšenec, sloupce: menšitel."));
    for (QTableWidget* grid : {faktaNasobeni, faktaDeleni, faktaScitani, faktaOdcitani}) {
        grid->setToolTip(grid->accessibleDescription());
        grid->horizontalHeader()->setDefaultSectionSize(30);
        grid->horizontalHeader()->setMinimumSectionSize(20);
        grid->verticalHeader()->setDefaultSectionSize(20);
        grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    }

    connect(ulozit, &QPushButton::clicked, this, [this] { RunStep([this] { ulozitClick(); }); });
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);
    move(PracticeState.HomeLeft, PracticeState.HomeTop);
}

void TPokrok::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        KeepInView(this, Form1);
}

void TPokrok::Open() {
    RunStep([this] { Reload(); });
    show();
    raise();
    activateWindow();
}

void TPokrok::Reload() {
    const QList<TChild>& children = PracticeState.Children;
    setWindowTitle(children.size() >= 2 && PracticeState.Child < children.size()
                       ? QStringLiteral("Pokrok – ") + children[PracticeState.Child].Name
                       : QStringLiteral("Pokrok"));
    QList<TDayProgress> days;
    QHash<TFactKey, TFactInfo> facts;
    QString failure;
    try {
        // 100,000 answers are summed up as they are read, not kept.
        TDaySummarizer summarizer;
        TFactDeriver deriver;
        ReadJournalEach(GetJournalPath(), [&](const TJournalEntry& entry) {
            summarizer.Add(entry);
            deriver.Add(entry);
        });
        days = summarizer.Result();
        facts = deriver.Result();
    } catch (const EZirmonError& error) {
        failure = error.message();
    }
    ShowDays(days);
    ShowFacts(faktaNasobeni, TOperation::Multiplication, facts);
    ShowFacts(faktaDeleni, TOperation::Division, facts);
    ShowFacts(faktaScitani, TOperation::Addition, facts);
    ShowFacts(faktaOdcitani, TOperation::Subtraction, facts);
    if (!failure.isEmpty())
        throw EZirmonError(failure);
}

void TPokrok::ShowDays(const QList<TDayProgress>& days) {
    QList<TDayChart::TBar> bars;
    int rows = 0;
    for (const TDayProgress& day : days) {
        bars.append(TDayChart::TBar{day.Date, day.Total.Right, day.Total.Wrong});
        ++rows;
        for (const TDayTally& op : day.Ops)
            rows += op.Answers > 0;
    }
    graf->SetBars(bars);

    tabulkaDnu->clearContents();
    tabulkaDnu->setRowCount(rows);
    int row = 0;
    auto put = [this, &row](QDate date, const QString& what, const TDayTally& tally) {
        const QString day = DayText(date);
        const QString texts[] = {day,
                                 what,
                                 QString::number(tally.Answers),
                                 QString::number(tally.Right),
                                 QString::number(tally.Wrong),
                                 MinutesText(tally.PractisedMs),
                                 SecondsText(tally.MedianMs)};
        for (int col = 0; col < int(std::size(texts)); ++col) {
            const QString spoken =
                col < 2 ? texts[col]
                        : day + QStringLiteral(", ") + what + QStringLiteral(", ") +
                              QString::fromUtf8(DayHeads[col]) + QStringLiteral(" ") + texts[col];
            QTableWidgetItem* item = ReadOnlyItem(texts[col], spoken);
            if (col >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tabulkaDnu->setItem(row, col, item);
        }
        ++row;
    };
    for (const TDayProgress& day : days) {
        put(day.Date, QStringLiteral("celkem"), day.Total);
        for (int op = 0; op < 4; ++op)
            if (day.Ops[op].Answers > 0)
                put(day.Date, OperationWord(TOperation(op)), day.Ops[op]);
    }
}

void TPokrok::ShowFacts(QTableWidget* grid, TOperation op,
                        const QHash<TFactKey, TFactInfo>& facts) {
    const TFactGrid shape = AllowedFacts(op);
    grid->clear();
    grid->setRowCount(int(shape.Rows.size()));
    grid->setColumnCount(int(shape.Cols.size()));
    QStringList heads;
    for (int number : shape.Cols)
        heads.append(QString::number(number));
    grid->setHorizontalHeaderLabels(heads);
    heads.clear();
    for (int number : shape.Rows)
        heads.append(QString::number(number));
    grid->setVerticalHeaderLabels(heads);
    const TFactInfo never;
    for (int row = 0; row < shape.Rows.size(); ++row) {
        for (int col = 0; col < shape.Cols.size(); ++col) {
            TFactKey key;
            if (!shape.FactAt(row, col, key))
                continue;
            const auto found = facts.constFind(key);
            const TFactInfo& info = found == facts.constEnd() ? never : *found;
            const QString description = FactDescription(key, info);
            QTableWidgetItem* item = ReadOnlyItem(FactMark(info), description);
            item->setToolTip(description);
            item->setBackground(FactColour(info));
            item->setForeground(QColor(Qt::black));
            item->setTextAlignment(Qt::AlignCenter);
            grid->setItem(row, col, item);
        }
    }
}

void TPokrok::ulozitClick() {
    // The copy may go wherever the user may write: with the protection on,
    // only for whoever knows the password.
    if (!PasswordDlg1->AskIfProtected())
        return;
    const QString journal = GetJournalPath();
    const QString target =
        QFileDialog::getSaveFileName(this, QStringLiteral("Uložit deník jako CSV"),
                                     QDir(QDir::homePath()).filePath(QStringLiteral("denik.csv")),
                                     QStringLiteral("Soubory CSV (*.csv);;Všechny soubory (*)"));
    if (target.isEmpty())
        return;
    if (InDataFolder(target))
        throw EZirmonError(QStringLiteral("Do složky %1 kopii deníku uložit nelze: jsou tam "
                                          "soubory dětí, které by přepsala. Zvolte jinou složku")
                               .arg(QDir::toNativeSeparators(DataDirPath())));
    const TFileRead read = ReadWholeFile(journal);
    if (!read.Ok)
        throw EZirmonError(QString("Cannot open file \"%1\". %2").arg(journal, read.Reason));
    const QString reason = ReplaceWholeFile(target, read.Bytes, true);
    if (!reason.isEmpty())
        throw EZirmonError(QString("Cannot write file \"%1\". %2").arg(target, reason));
}
