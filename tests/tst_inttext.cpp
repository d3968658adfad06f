#include "store/Errors.h"
#include "store/IntText.h"

#include <QtTest>
#include <climits>

class TTestIntText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tryStrToInt_data();
    void tryStrToInt();
    void strToIntFailure_data();
    void strToIntFailure();
    void intToStr_data();
    void intToStr();
    void cellText_data();
    void cellText();
    void incrementCount_data();
    void incrementCount();
    void sumCounts_data();
    void sumCounts();
};

void TTestIntText::tryStrToInt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("leading blanks") << "      12" << true << 12;
    QTest::newRow("minus") << "-3" << true << -3;
    QTest::newRow("plus") << "+5" << true << 5;
    QTest::newRow("blanks then sign") << "  -7" << true << -7;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("dollar hex") << "$1A" << true << 26;
    QTest::newRow("0x hex") << "0x1A" << true << 26;
    QTest::newRow("x lower hex") << "x1a" << true << 26;
    QTest::newRow("0X hex") << "0X1A" << true << 26;
    QTest::newRow("X hex") << "XfF" << true << 255;
    QTest::newRow("hex all ones") << "$FFFFFFFF" << true << -1;
    QTest::newRow("hex top bit") << "$80000000" << true << INT_MIN;
    QTest::newRow("hex largest positive") << "0x7FFFFFFF" << true << INT_MAX;
    QTest::newRow("int max") << "2147483647" << true << INT_MAX;
    QTest::newRow("int max plus one") << "2147483648" << false << 0;
    QTest::newRow("int min") << "-2147483648" << true << INT_MIN;
    QTest::newRow("int min minus one") << "-2147483649" << false << 0;
    QTest::newRow("far too big") << "99999999999999999999999" << false << 0;
    QTest::newRow("trailing letters") << "12abc" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("blank after sign") << "- 5" << false << 0;
    QTest::newRow("two signs") << "+-5" << false << 0;
    QTest::newRow("tab is no blank") << "\t5" << false << 0;
    QTest::newRow("0x without digits") << "0x" << false << 0;
    QTest::newRow("dollar without digits") << "$" << false << 0;
    QTest::newRow("negative hex") << "-$A" << true << -10;
    QTest::newRow("negative hex top bit") << "-$80000000" << true << INT_MIN;
    QTest::newRow("negative hex all ones") << "-0xFFFFFFFF" << true << 1;
    QTest::newRow("hex nine digits") << "0x100000000" << false << 0;
    QTest::newRow("hex leading zeros") << "0x000000001A" << true << 26;
    QTest::newRow("hex bad digit") << "$1G" << false << 0;
    QTest::newRow("double prefix") << "$0x1" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("\u0661") << false << 0;
}

void TTestIntText::tryStrToInt() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const std::optional<int> result = TryStrToInt(text);
    QCOMPARE(result.has_value(), valid);
    if (valid) {
        QCOMPARE(*result, value);
        QCOMPARE(StrToInt(text), value);
    }
}

void TTestIntText::strToIntFailure_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters") << "12abc"
                             << "'12abc' is not a valid integer value";
    QTest::newRow("blanks kept") << "  12 "
                                 << "'  12 ' is not a valid integer value";
    QTest::newRow("empty") << ""
                           << "'' is not a valid integer value";
    QTest::newRow("percent sign") << "%1"
                                  << "'%1' is not a valid integer value";
}

void TTestIntText::strToIntFailure() {
    QFETCH(QString, text);
    QFETCH(QString, message);

    try {
        StrToInt(text);
        QFAIL("no exception raised");
    } catch (const EZirmonError& e) {
        QCOMPARE(e.message(), message);
    }
}

void TTestIntText::intToStr_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("negative") << -42 << "-42";
    QTest::newRow("max") << INT_MAX << "2147483647";
    QTest::newRow("min") << INT_MIN << "-2147483648";
}

void TTestIntText::intToStr() {
    QFETCH(int, value);
    QFETCH(QString, text);

    QCOMPARE(IntToStr(value), text);
    QCOMPARE(TryStrToInt(IntToStr(value)), std::optional<int>(value));
}

void TTestIntText::cellText_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0 << "      0";
    QTest::newRow("one digit") << 7 << "      7";
    QTest::newRow("three digits") << 123 << "      123";
    QTest::newRow("max") << INT_MAX << "      2147483647";
}

void TTestIntText::cellText() {
    QFETCH(int, value);
    QFETCH(QString, text);

    QCOMPARE(CellText(value), text);
    // The grids read their cells back with the same parser.
    QCOMPARE(TryStrToInt(CellText(value)), std::optional<int>(value));
}

void TTestIntText::incrementCount_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("zero") << 0 << 1;
    QTest::newRow("negative") << -1 << 0;
    QTest::newRow("below max") << INT_MAX - 1 << INT_MAX;
    QTest::newRow("at max") << INT_MAX << INT_MAX;
}

void TTestIntText::incrementCount() {
    QFETCH(int, before);
    QFETCH(int, after);

    int counter = before;
    IncrementCount(counter);
    QCOMPARE(counter, after);
}

void TTestIntText::sumCounts_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("sum");

    QTest::newRow("small") << 1 << 2 << 3 << 4 << 10;
    QTest::newRow("exactly max") << INT_MAX - 3 << 1 << 1 << 1 << INT_MAX;
    QTest::newRow("over max") << INT_MAX << INT_MAX << INT_MAX << INT_MAX << INT_MAX;
    QTest::newRow("under min") << INT_MIN << INT_MIN << 0 << 0 << INT_MIN;
    QTest::newRow("cancelling") << INT_MAX << INT_MIN << 1 << 0 << 0;
}

void TTestIntText::sumCounts() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, d);
    QFETCH(int, sum);

    QCOMPARE(SumCounts(a, b, c, d), sum);
}

QTEST_GUILESS_MAIN(TTestIntText)
#include "tst_inttext.moc"
