#include "store/Settings.h"

#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/IntText.h"
#include "store/ProfileFile.h"
#include "windows/Cells.h"
#include "windows/Mainzirm.h"

namespace {

// The tally block: key, grid, cell and counter, in the order they are saved.
struct TTallyKey {
    const char* Key;
    bool Totals; // the cell is in the totals row, not in the tally grid
    int Col;
    int Row;
    int TPracticeState::*Counter;
};

const TTallyKey TallyKeys[] = {
    {"OKscit", false, 2, 1, &TPracticeState::OkAdd},
    {"KOscit", false, 3, 1, &TPracticeState::BadAdd},
    {"OKodcit", false, 2, 2, &TPracticeState::OkSub},
    {"KOodcit", false, 3, 2, &TPracticeState::BadSub},
    {"OKnas", false, 2, 3, &TPracticeState::OkMul},
    {"KOnas", false, 3, 3, &TPracticeState::BadMul},
    {"OKdele", false, 2, 4, &TPracticeState::OkDiv},
    {"KOdele", false, 3, 4, &TPracticeState::BadDiv},
    {"OKcelk", true, 2, 0, &TPracticeState::OkTotal},
    {"KOcelk", true, 3, 0, &TPracticeState::BadTotal},
};

QTableWidget* GridOf(const TTallyKey& k) {
    return k.Totals ? Form1->celk : Form1->vysl;
}

const QString Tabulka = QStringLiteral("Tabulka");

} // namespace

void LoadSettings() {
    {
        TProfileFile ini(GetIniPath());
        auto flag = [&ini](const char* section, const char* key, bool def) {
            return ini.ReadBool(QString::fromLatin1(section), QString::fromLatin1(key), def);
        };
        PracticeState.AddTo10 = flag("Scitani", "do10", true);
        PracticeState.AddTo20 = flag("Scitani", "do20", false);
        PracticeState.AddTo100 = flag("Scitani", "do100", false);
        PracticeState.AddTo20NoCarry = flag("Scitani", "bezpr", false);
        PracticeState.SubTo10 = flag("Odcitani", "do10", true);
        PracticeState.SubTo20 = flag("Odcitani", "do20", false);
        PracticeState.SubTo100 = flag("Odcitani", "do100", false);
        PracticeState.SubTo20NoCarry = flag("Odcitani", "bezpr", false);
        for (int k = 1; k <= 10; ++k) {
            PracticeState.MulTable[k] =
                flag("Nasobeni", qPrintable(QStringLiteral("nas%1").arg(k)), true);
        }
        for (int k = 1; k <= 10; ++k) {
            PracticeState.DivBy[k] =
                flag("Deleni", qPrintable(QStringLiteral("del%1").arg(k)), true);
        }
        PracticeState.PickAdd = flag("Vyber", "scit", true);
        PracticeState.PickSub = flag("Vyber", "odcit", true);
        PracticeState.PickMul = flag("Vyber", "nasob", true);
        PracticeState.PickDiv = flag("Vyber", "delen", true);
        PracticeState.ReturnMissed = flag("Vyber", "vracet", true);
        for (const TTallyKey& k : TallyKeys) {
            const int value = ini.ReadInteger(Tabulka, QString::fromLatin1(k.Key), 0);
            SetCell(GridOf(k), k.Col, k.Row, CellText(value));
        }
    }
    {
        // The password and its protection are the family's.
        const TProfileFile family(GetFamilyIniPath());
        PracticeState.StoredPassword =
            family.ReadString(QStringLiteral("PASSWD"), QStringLiteral("USRPASSWD"), QString());
        PracticeState.ProtectReset =
            family.ReadBool(QStringLiteral("joheslo"), QStringLiteral("hsl"), false);
    }
    for (const TTallyKey& k : TallyKeys)
        PracticeState.*k.Counter = StrToInt(GetCell(GridOf(k), k.Col, k.Row));
}

void SaveTallies(TProfileFile& ini) {
    // One write for the whole block: it is saved after every answer.
    QList<std::pair<QString, QString>> values;
    for (const TTallyKey& k : TallyKeys)
        values.append(
            {QString::fromLatin1(k.Key), IntToStr(StrToInt(GetCell(GridOf(k), k.Col, k.Row)))});
    ini.WriteStrings(Tabulka, values);
}
