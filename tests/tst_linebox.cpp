// The read-only line box of the wrong-answer list: its text, its lines, and
// moving through a long list by keyboard and wheel.
#include "windows/LineBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QWheelEvent>
#include <QtTest>

namespace {

// Rows of dark pixels inside the box's frame: where text is drawn.
int DarkRows(TLineBox& box) {
    const QImage picture = box.grab().toImage();
    const int inset = 4;
    int rows = 0;
    for (int y = inset; y < picture.height() - inset; ++y) {
        for (int x = inset; x < picture.width() - inset; ++x) {
            if (qGray(picture.pixel(x, y)) < 100) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

QString Numbered(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    return text;
}

} // namespace

class TLineBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        Box = std::make_unique<TLineBox>();
        Box->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        Box->resize(241, 353);
        Box->show();
        QVERIFY(QTest::qWaitForWindowExposed(Box.get()));
    }
    void cleanup() { Box.reset(); }

    void lineBreaks_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << ""
                               << "" << 1;
        QTest::newRow("one line") << "abc"
                                  << "abc" << 1;
        QTest::newRow("CR LF") << "a\r\nb\r\n"
                               << "a\r\nb\r\n"
                               << 3;
        QTest::newRow("lone LF") << "a\nb"
                                 << "a\r\nb" << 2;
        QTest::newRow("lone CR") << "a\rb\r"
                                 << "a\r\nb\r\n"
                                 << 3;
        QTest::newRow("LF CR is two") << "a\n\rb"
                                      << "a\r\n\r\nb" << 3;
        QTest::newRow("CR CR LF") << "a\r\r\nb"
                                  << "a\r\n\r\nb" << 3;
        QTest::newRow("only breaks") << "\r\n\n\r"
                                     << "\r\n\r\n\r\n"
                                     << 4;
        QTest::newRow("blanks kept") << "   \r\n  x  "
                                     << "   \r\n  x  " << 2;
    }
    void lineBreaks() {
        QFETCH(QString, given);
        QFETCH(QString, kept);
        QFETCH(int, lines);
        Box->SetText(given);
        QCOMPARE(Box->Text(), kept);
        QCOMPARE(Box->LineCount(), lines);
        QCOMPARE(Box->Line(lines - 1), kept.split(QStringLiteral("\r\n")).last());
    }

    void appending_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("after");
        QTest::newRow("to empty") << ""
                                  << "x"
                                  << "x\r\n";
        QTest::newRow("after a break") << "a\r\n"
                                       << "x"
                                       << "a\r\nx\r\n";
        QTest::newRow("after an open line") << "a"
                                            << "x"
                                            << "a\r\nx";
        QTest::newRow("empty line") << "a\r\n"
                                    << ""
                                    << "a\r\n\r\n";
        QTest::newRow("line with a break") << "a\r\n"
                                           << "x\ny"
                                           << "a\r\nx\r\ny\r\n";
    }
    void appending() {
        QFETCH(QString, before);
        QFETCH(QString, line);
        QFETCH(QString, after);
        Box->SetText(before);
        Box->AppendLine(line);
        QCOMPARE(Box->Text(), after);
        // The lines agree with a fresh reading of the same text.
        TLineBox fresh;
        fresh.SetText(after);
        QCOMPARE(Box->LineCount(), fresh.LineCount());
        for (int i = 0; i < fresh.LineCount(); ++i)
            QCOMPARE(Box->Line(i), fresh.Line(i));
    }

    void manyAppendsAreOneText() {
        for (int i = 0; i < 1000; ++i)
            Box->AppendLine(QStringLiteral("line %1").arg(i));
        QCOMPARE(Box->Text(), Numbered(1000));
        QCOMPARE(Box->LineCount(), 1001);
        QCOMPARE(Box->Line(999), QStringLiteral("line 999"));
    }

    void keys() {
        Box->SetText(Numbered(1000));
        Box->setFocus();
        const int view = Box->RowsInView();
        QVERIFY(view > 5);
        QTest::keyClick(Box.get(), Qt::Key_Up);
        QCOMPARE(Box->TopLine(), 0);
        QTest::keyClick(Box.get(), Qt::Key_Down);
        QCOMPARE(Box->TopLine(), 1);
        QTest::keyClick(Box.get(), Qt::Key_PageDown);
        QCOMPARE(Box->TopLine(), 1 + view - 1);
        QTest::keyClick(Box.get(), Qt::Key_PageUp);
        QCOMPARE(Box->TopLine(), 1);
        QTest::keyClick(Box.get(), Qt::Key_End, Qt::ControlModifier);
        // The empty line after the last break is the last row in view.
        QCOMPARE(Box->TopLine(), 1001 - view);
        QTest::keyClick(Box.get(), Qt::Key_Down);
        QCOMPARE(Box->TopLine(), 1001 - view);
        QTest::keyClick(Box.get(), Qt::Key_PageDown);
        QCOMPARE(Box->TopLine(), 1001 - view);
        QTest::keyClick(Box.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Box->TopLine(), 0);
        // A new text starts at the top again.
        QTest::keyClick(Box.get(), Qt::Key_End);
        Box->SetText(Numbered(10));
        QCOMPARE(Box->TopLine(), 0);
        QTest::keyClick(Box.get(), Qt::Key_End);
        QCOMPARE(Box->TopLine(), 0); // everything fits
    }

    void wheel() {
        Box->SetText(Numbered(200));
        const QPointF at(50, 50);
        QWheelEvent down(at, Box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Box.get(), &down);
        QCOMPARE(Box->TopLine(), QApplication::wheelScrollLines());
        // Half steps add up.
        QWheelEvent half(at, Box->mapToGlobal(at), QPoint(), QPoint(0, 60), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Box.get(), &half);
        QCOMPARE(Box->TopLine(), QApplication::wheelScrollLines());
        QApplication::sendEvent(Box.get(), &half);
        QCOMPARE(Box->TopLine(), 0);
    }

    // A line longer than the box is wide takes several rows, and the view
    // moves through it row by row.
    void longLinesWrap() {
        const QString words = QStringLiteral("sedm krát osm je padesát šest ").repeated(50);
        Box->SetText(QStringLiteral("first\r\n") + words + QStringLiteral("\r\nlast"));
        Box->setFocus();
        QTest::keyClick(Box.get(), Qt::Key_Down);
        QCOMPARE(Box->TopLine(), 1);
        QCOMPARE(Box->TopRow(), 0);
        QTest::keyClick(Box.get(), Qt::Key_Down);
        QCOMPARE(Box->TopLine(), 1);
        QCOMPARE(Box->TopRow(), 1);
        QTest::keyClick(Box.get(), Qt::Key_Up);
        QTest::keyClick(Box.get(), Qt::Key_Up);
        QCOMPARE(Box->TopLine(), 0);
        // Wrapped, the text fills more rows than it has lines.
        QVERIFY(DarkRows(*Box) > 0);
    }

    // A line of many thousand characters is laid out in pieces; it is still
    // one line, and the view moves through it and past it.
    void hugeLine() {
        const QString huge = QStringLiteral("8").repeated(100000);
        Box->SetText(QStringLiteral("first\r\n") + huge + QStringLiteral("\r\nlast\r\n"));
        QCOMPARE(Box->LineCount(), 4);
        QCOMPARE(Box->Line(1), huge);
        Box->setFocus();
        QTest::keyClick(Box.get(), Qt::Key_Down);
        QCOMPARE(Box->TopLine(), 1);
        for (int i = 0; i < 50; ++i)
            QTest::keyClick(Box.get(), Qt::Key_PageDown);
        QCOMPARE(Box->TopLine(), 1);
        QVERIFY(DarkRows(*Box) > 0);
        QTest::keyClick(Box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(Box->TopLine(), 1); // the last rows of it, "last" and the empty line
        QTest::keyClick(Box.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Box->TopLine(), 0);
        // An answer added below it, and a huge line added at the end.
        Box->AppendLine(QStringLiteral("3 + 4 = 8"));
        Box->AppendLine(huge);
        QCOMPARE(Box->LineCount(), 6);
        QCOMPARE(Box->Line(3), QStringLiteral("3 + 4 = 8"));
        QCOMPARE(Box->Line(4), huge);
        QCOMPARE(Box->Text(), QStringLiteral("first\r\n") + huge +
                                  QStringLiteral("\r\nlast\r\n3 + 4 = 8\r\n") + huge +
                                  QStringLiteral("\r\n"));
        QTest::keyClick(Box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(Box->TopLine(), 4);
    }

    // A pair of UTF-16 halves at a piece's edge stays whole.
    void surrogatesAtAPieceEdge() {
        const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
        const QString line = QStringLiteral("x").repeated(4095) + pair + QStringLiteral("y");
        Box->SetText(line);
        QCOMPARE(Box->Line(0), line);
        QVERIFY(DarkRows(*Box) > 0);
    }

    void paintsOnlyWhatIsInView() {
        Box->SetText(QString());
        const int empty = DarkRows(*Box);
        Box->SetText(Numbered(3));
        const int three = DarkRows(*Box);
        QVERIFY(three > empty);
        Box->SetText(Numbered(100000));
        const int full = DarkRows(*Box);
        QVERIFY(full > three);
        QTest::keyClick(Box.get(), Qt::Key_End, Qt::ControlModifier);
        // At the end the last row is the empty line: one row less of text.
        QVERIFY(DarkRows(*Box) < full);
        QVERIFY(DarkRows(*Box) > three);
    }

    void copiesTheWholeText() {
        Box->SetText(QStringLiteral("a\r\nb\r\n"));
        QApplication::clipboard()->clear();
        QTest::keyClick(Box.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\nb\n"));
    }

    void takesKeyboardFocus() { QCOMPARE(Box->focusPolicy(), Qt::StrongFocus); }

    void screenReaderReadsTheList() {
        Box->setAccessibleName(QStringLiteral("Špatně vypočítané příklady"));
        Box->SetText(QStringLiteral("3 + 4 = 8\r\n"));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(Box.get());
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::EditableText);
        QVERIFY(face->state().readOnly);
        QVERIFY(face->state().multiLine);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Špatně vypočítané příklady"));
        QCOMPARE(face->text(QAccessible::Value), QStringLiteral("3 + 4 = 8\n"));
    }

private:
    std::unique_ptr<TLineBox> Box;
};

QTEST_MAIN(TLineBoxTest)
#include "tst_linebox.moc"
