// The random generator and the four problem generators, over many seeded draws.
#include "practice/Facts.h"
#include "practice/Generators.h"
#include "practice/PracticeState.h"
#include "practice/Random.h"

#include <QtTest>
#include <set>

class TestGenerators : public QObject {
    Q_OBJECT

private:
    static constexpr int NoCarry = 1000;
    static void SetRanges(bool to10, bool to20, bool to100) {
        PracticeState.AddTo10 = PracticeState.SubTo10 = to10;
        PracticeState.AddTo20 = PracticeState.SubTo20 = to20;
        PracticeState.AddTo100 = PracticeState.SubTo100 = to100;
    }
    static void OnlyTables(std::initializer_list<int> tables, bool (&flags)[11]) {
        for (bool& f : flags)
            f = false;
        for (int t : tables)
            flags[t] = true;
    }

private Q_SLOTS:
    void init() { PracticeState = TPracticeState{}; }

    void randomBelowFollowsTheFormula() {
        // Computed by hand: seed <- seed * 134775813 + 1 (mod 2^32), then
        // the upper half of seed * n.
        RandSeed = 12345;
        const std::pair<int, int> draws[] = {
            {11, 4}, {11, 3}, {21, 1},           {101, 55},
            {4, 2},  {1, 0},  {1000000, 439968}, {2147483647, 170327624}};
        const std::uint32_t seeds[] = {1655067934u, 1242767767u, 342459380u,  2377737157u,
                                       2721613530u, 1467157059u, 1889648464u, 340655249u};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(RandomBelow(draws[i].first), draws[i].second);
            QCOMPARE(RandSeed, seeds[i]);
        }
        RandSeed = 0xFFFFFFFFu;
        QCOMPARE(RandomBelow(11), 10);
        QCOMPARE(RandSeed, 4160191484u);
    }

    void reseedChangesTheSequence() {
        std::set<std::uint32_t> seeds;
        for (int i = 0; i < 20; ++i) {
            ReseedRandom();
            seeds.insert(RandSeed);
            QTest::qSleep(1);
        }
        QVERIFY(seeds.size() > 10);
    }

    void additionStaysInRange_data() {
        QTest::addColumn<bool>("to10");
        QTest::addColumn<bool>("to20");
        QTest::addColumn<bool>("to100");
        QTest::addColumn<int>("limit");
        QTest::newRow("up to 10") << true << false << false << 10;
        QTest::newRow("up to 20") << false << true << false << 20;
        QTest::newRow("up to 100") << false << false << true << 100;
        QTest::newRow("20 and 100: the last decides") << false << true << true << 100;
        QTest::newRow("all three") << true << true << true << 100;
    }
    void additionStaysInRange() {
        QFETCH(bool, to10);
        QFETCH(bool, to20);
        QFETCH(bool, to100);
        QFETCH(int, limit);
        SetRanges(to10, to20, to100);
        int biggestSum = 0;
        bool zeroZero = false, limitZero = false;
        for (int i = 0; i < 20000; ++i) {
            int a = -1, b = -1;
            RandSeed = std::uint32_t(i * 7919);
            MakeAddition(a, b);
            QVERIFY(a >= 0 && b >= 0);
            QVERIFY2(a + b <= limit, qPrintable(QStringLiteral("%1 + %2").arg(a).arg(b)));
            biggestSum = std::max(biggestSum, a + b);
            zeroZero = zeroZero || (a == 0 && b == 0);
            limitZero = limitZero || (a == limit && b == 0);
        }
        QCOMPARE(biggestSum, limit);
        if (limit == 10) {
            QVERIFY(zeroZero);
            QVERIFY(limitZero);
        }
    }

    void subtractionNeverNegative_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("10") << 10;
        QTest::newRow("20") << 20;
        QTest::newRow("100") << 100;
    }
    void subtractionNeverNegative() {
        QFETCH(int, limit);
        SetRanges(limit == 10, limit == 20, limit == 100);
        RandSeed = 99;
        bool equal = false;
        int biggest = 0;
        for (int i = 0; i < 20000; ++i) {
            int a = -1, b = -1;
            MakeSubtraction(a, b);
            QVERIFY(a >= b && b >= 0 && a <= limit);
            equal = equal || (a == b && a > 0);
            biggest = std::max(biggest, a - b);
        }
        QVERIFY(equal);
        QCOMPARE(biggest, limit);
    }

    // "Do 20 bez přechodu": every pair drawn keeps the rule, and in 5000
    // draws every one of the pairs that do comes (10 + 7, 3 + 10, 16 + 4...).
    void withoutCrossing_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("pairs");
        QTest::newRow("sums") << true << 195;
        QTest::newRow("differences") << false << 177;
    }
    void withoutCrossing() {
        QFETCH(bool, add);
        QFETCH(int, pairs);
        PracticeState.AddTo20NoCarry = PracticeState.SubTo20NoCarry = true;
        RandSeed = 99;
        std::set<std::pair<int, int>> seen;
        for (int i = 0; i < 5000; ++i) {
            int a = -1, b = -1;
            add ? MakeAddition(a, b) : MakeSubtraction(a, b);
            QVERIFY2(add ? a >= 0 && b >= 0 && a + b <= 20 && a % 10 + b % 10 <= 10
                         : b >= 0 && b <= a && a <= 20 && (a % 10 >= b % 10 || a == 10),
                     qPrintable(QStringLiteral("%1, %2").arg(a).arg(b)));
            seen.insert({a, b});
        }
        QCOMPARE(int(seen.size()), pairs);
    }

    void subtractionDoesNotReseed() {
        SetRanges(true, false, false);
        RandSeed = 4242;
        int a, b;
        MakeSubtraction(a, b);
        // Two draws from the current sequence, nothing else.
        RandSeed = 4242;
        int x = RandomBelow(11), y = RandomBelow(11);
        if (x < y)
            std::swap(x, y);
        QCOMPARE(a, x);
        QCOMPARE(b, y);
    }

    void noRangeKeepsTheOperands() {
        SetRanges(false, false, false);
        int a = 7, b = 3;
        MakeAddition(a, b);
        QCOMPARE(a, 7);
        QCOMPARE(b, 3);
        MakeSubtraction(a, b);
        QCOMPARE(a, 7);
        QCOMPARE(b, 3);
    }

    void multiplicationUsesOnlyTablesInUse_data() {
        QTest::addColumn<QList<int>>("tables");
        QTest::newRow("table 7") << QList<int>{7};
        QTest::newRow("table 1") << QList<int>{1};
        QTest::newRow("tables 2 and 10") << QList<int>{2, 10};
        QTest::newRow("no table: table 1") << QList<int>{};
    }
    void multiplicationUsesOnlyTablesInUse() {
        QFETCH(QList<int>, tables);
        for (bool& f : PracticeState.MulTable)
            f = false;
        for (int t : tables)
            PracticeState.MulTable[t] = true;
        const std::set<int> allowed =
            tables.isEmpty() ? std::set<int>{1} : std::set<int>(tables.begin(), tables.end());
        std::set<int> factors, usedTables;
        for (int i = 0; i < 5000; ++i) {
            int a, b;
            MakeMultiplication(a, b);
            QVERIFY(allowed.count(b));
            QVERIFY(a >= 0 && a <= 10);
            factors.insert(a);
            usedTables.insert(b);
        }
        QCOMPARE(int(factors.size()), 11); // 0 x 7 included
        QCOMPARE(usedTables, allowed);
    }

    void divisionIsExact_data() {
        QTest::addColumn<QList<int>>("divisors");
        QTest::newRow("divisor 4") << QList<int>{4};
        QTest::newRow("divisors 3 and 9") << QList<int>{3, 9};
        QTest::newRow("no divisor: divisor 1") << QList<int>{};
    }
    void divisionIsExact() {
        QFETCH(QList<int>, divisors);
        for (bool& f : PracticeState.DivBy)
            f = false;
        for (int d : divisors)
            PracticeState.DivBy[d] = true;
        const std::set<int> allowed =
            divisors.isEmpty() ? std::set<int>{1} : std::set<int>(divisors.begin(), divisors.end());
        std::set<int> quotients;
        for (int i = 0; i < 5000; ++i) {
            int a, b;
            MakeDivision(a, b);
            QVERIFY(allowed.count(b));
            QCOMPARE(a % b, 0);
            QVERIFY(a / b >= 0 && a / b <= 10);
            quotients.insert(a / b);
        }
        QCOMPARE(int(quotients.size()), 11); // 0 : 4 included
    }

    void randomMixPicksOnlyTickedBoxes_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("sub");
        QTest::addColumn<bool>("mul");
        QTest::addColumn<bool>("div");
        QTest::newRow("design: addition and subtraction") << true << true << false << false;
        QTest::newRow("multiplication only") << false << false << true << false;
        QTest::newRow("all four") << true << true << true << true;
        QTest::newRow("none: addition and subtraction") << false << false << false << false;
    }
    void randomMixPicksOnlyTickedBoxes() {
        QFETCH(bool, add);
        QFETCH(bool, sub);
        QFETCH(bool, mul);
        QFETCH(bool, div);
        const bool none = !(add || sub || mul || div);
        const bool ticked[4] = {add || none, sub || none, mul, div};
        int seen[4] = {};
        for (int i = 0; i < 4000; ++i)
            ++seen[int(ChooseRandomOperation(TRandomMix{add, sub, mul, div}))];
        for (int op = 0; op < 4; ++op)
            QVERIFY2(ticked[op] ? seen[op] > 0 : seen[op] == 0, qPrintable(QString::number(op)));
    }

    void randomMixBeforeTheDialogExists() {
        // The settings dialog is not there yet: its design states count,
        // whatever the settings say.
        PracticeState.PickMul = true;
        PracticeState.PickAdd = PracticeState.PickSub = PracticeState.PickDiv = false;
        const TRandomMix mix = CurrentRandomMix();
        QVERIFY(mix.Add && mix.Sub && !mix.Mul && !mix.Div);
        for (int i = 0; i < 500; ++i) {
            const TOperation op = ChooseRandomOperation();
            QVERIFY(op == TOperation::Addition || op == TOperation::Subtraction);
        }
    }

    // What the generators can draw, under ranges 10 or 20, "do 20 bez
    // přechodu" (NoCarry, NoCarry + 10 with do 10 on as well) and the tables
    // and divisors 3 and 7 in use ("none": no table or divisor ticked). Every
    // problem of a row, split by commas, gives the same answer.
    void settingsAllow_data() {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("range");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("sums") << "4 + 6,0 + 10,14 + 6" << 20 << true;
        QTest::newRow("sums over 10") << "4 + 7,14 + 6" << 10 << false;
        QTest::newRow("no range chosen") << "1 + 1,1 - 1" << 0 << false;
        QTest::newRow("differences") << "10 - 10,10 - 0" << 10 << true;
        QTest::newRow("negative, or over 10") << "3 - 4,11 - 1" << 10 << false;
        QTest::newRow("tables in use") << "10 x 7,0 x 3" << 10 << true;
        QTest::newRow("tables not in use, over 10") << "7 x 4,11 x 3,3 x 11" << 10 << false;
        QTest::newRow("no table: 1 stands in") << "5 x 1,5 : 1" << -1 << true;
        QTest::newRow("divisors in use") << "70 : 7,0 : 3" << 10 << true;
        QTest::newRow("not a multiple, quotient over 10, divisor not in use, by 0")
            << "8 : 3,33 : 3,8 : 4,0 : 0" << 10 << false;
        QTest::newRow("sums without crossing")
            << "14 + 3,10 + 7,3 + 10,16 + 4,10 + 10,0 + 20" << NoCarry << true;
        QTest::newRow("sums crossing") << "8 + 5,9 + 3,11 + 10,-1 + 1" << NoCarry << false;
        QTest::newRow("differences without crossing")
            << "17 - 4,15 - 5,10 - 3,20 - 0,10 - 10,20 - 10,20 - 20,19 - 11" << NoCarry << true;
        QTest::newRow("differences crossing") << "13 - 5,20 - 4,4 - 5,21 - 1" << NoCarry << false;
        QTest::newRow("do 10 overrides it") << "10 + 7,17 - 4" << NoCarry + 10 << false;
    }
    void settingsAllow() {
        QFETCH(QString, problem);
        QFETCH(int, range);
        QFETCH(bool, allowed);
        SetRanges(range % NoCarry == 10, range % NoCarry == 20, false);
        PracticeState.AddTo20NoCarry = PracticeState.SubTo20NoCarry = range >= NoCarry;
        OnlyTables(range < 0 ? std::initializer_list<int>{} : std::initializer_list<int>{3, 7},
                   PracticeState.MulTable);
        OnlyTables(range < 0 ? std::initializer_list<int>{} : std::initializer_list<int>{3, 7},
                   PracticeState.DivBy);
        for (const QString& one : problem.split(u',')) {
            const QStringList p = one.split(u' ');
            const TOperation op = p[1] == "+"   ? TOperation::Addition
                                  : p[1] == "-" ? TOperation::Subtraction
                                  : p[1] == "x" ? TOperation::Multiplication
                                                : TOperation::Division;
            QVERIFY2(SettingsAllow(op, p[0].toInt(), p[2].toInt()) == allowed, qPrintable(one));
        }
    }

    // The state of 7 x 8 after a journal of "day:verdict:ms" answers to it
    // on days of December 2026 (and one 2 + 2 answered right).
    void factStates_data() {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("state");
        QTest::newRow("never asked") << "" << QStringLiteral("nové");
        QTest::newRow("wrong") << "1:ne:5000" << QStringLiteral("učí se");
        QTest::newRow("wrong twice") << "1:ne:5000 2:ne:5000" << QStringLiteral("učí se");
        QTest::newRow("right once") << "1:ano:1000" << QStringLiteral("skoro");
        QTest::newRow("wrong, then right") << "1:ne:1000 1:ano:1000" << QStringLiteral("skoro");
        QTest::newRow("three times one day")
            << "1:ano:1000 1:ano:1000 1:ano:1000" << QStringLiteral("skoro");
        QTest::newRow("two days") << "1:ano:1000 2:ano:1000 2:ano:1000" << QStringLiteral("skoro");
        QTest::newRow("three days") << "1:ano:4000 2:ano:4000 3:ano:4000" << QStringLiteral("umí");
        QTest::newRow("three days, quick")
            << "1:ano:9000 2:ano:2999 3:ano:1000" << QStringLiteral("umí rychle");
        QTest::newRow("median at the limit")
            << "1:ano:2000 2:ano:3000 3:ano:9000" << QStringLiteral("umí");
        QTest::newRow("only the last three times")
            << "1:ano:9000 2:ano:9000 3:ano:1000 4:ano:1000 5:ano:1000"
            << QStringLiteral("umí rychle");
        QTest::newRow("days before the mistake do not count")
            << "1:ano:1000 2:ano:1000 3:ne:1000 4:ano:1000 5:ano:1000" << QStringLiteral("skoro");
        QTest::newRow("mistake after knowing")
            << "1:ano:1000 2:ano:1000 3:ano:1000 4:ne:1000" << QStringLiteral("učí se");
    }
    void factStates() {
        QFETCH(QString, answers);
        QFETCH(QString, state);
        QByteArray journal = "2026-12-01;08:00:00;sčítání;2;2;4;ano;500\r\n";
        for (const QString& answer : answers.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList f = answer.split(u':');
            journal += "2026-12-0" + f[0].toLatin1() + ";17:05:33;násobení;7;8;56;" +
                       f[1].toLatin1() + ';' + f[2].toLatin1() + "\r\n";
        }
        const QHash<TFactKey, TFactInfo> facts = DeriveFacts(ParseJournal(journal));
        const TFactInfo fact = facts.value(TFactKey{TOperation::Multiplication, 7, 8});
        QCOMPARE(FactStateWord(fact.State) + (fact.Fast ? " " + FastWord() : QString()), state);
        QCOMPARE(facts.value(TFactKey{TOperation::Addition, 2, 2}).State, TFactState::Almost);
        QCOMPARE(fact.Asked, int(answers.count(u':') / 2));
    }
};

QTEST_GUILESS_MAIN(TestGenerators)
#include "tst_generators.moc"
