// At double scale (QT_SCALE_FACTOR=2) every window keeps its layout, no
// text is cut, and the pictures are drawn for the doubled pixels instead of
// being enlarged from the ordinary ones.
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/ListFile.h"
#include "windows/About.h"
#include "windows/Histr.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QCheckBox>
#include <QDir>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QSvgRenderer>
#include <QTabBar>
#include <QtTest>

namespace {

QString Shown(QString text) {
    // "&" marks the accelerator and is not drawn; "&&" draws one "&".
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Where a button draws its text and picture, in the style's own reckoning.
QRect ButtonContents(const QAbstractButton* b) {
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    option.icon = b->icon();
    option.iconSize = b->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        element = QStyle::SE_RadioButtonContents;
    return b->style()->subElementRect(element, &option, b);
}

// The controls of a window whose text does not fit where it is drawn.
QStringList CutTexts(QWidget* window) {
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            const QString text = label->text();
            if (text.isEmpty())
                continue;
            const QRect room = label->contentsRect();
            const QRect needed = fm.boundingRect(
                room, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), text);
            if (needed.width() > room.width() || needed.height() > room.height())
                cut << label->objectName();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty())
                continue;
            int needed = fm.horizontalAdvance(Shown(button->text()));
            if (!button->icon().isNull() && qobject_cast<QPushButton*>(button))
                needed += button->iconSize().width() + 4;
            if (needed > ButtonContents(button).width())
                cut << button->objectName();
        } else if (auto* grid = qobject_cast<QTableWidget*>(w)) {
            // The cells in view: the text and the delegate's margins.
            const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
            for (int row = 0; row < grid->rowCount(); ++row)
                for (int col = 0; col < grid->columnCount(); ++col)
                    if (const QTableWidgetItem* item = grid->item(row, col))
                        // A blank at the end of a cell draws nothing.
                        if (fm.horizontalAdvance(item->text().trimmed()) + 2 * margin >
                            grid->columnWidth(col))
                            cut << QStringLiteral("%1(%2,%3)")
                                       .arg(grid->objectName())
                                       .arg(col)
                                       .arg(row);
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (fm.horizontalAdvance(Shown(tabs->tabText(i))) > tabs->tabRect(i).width())
                    cut << QStringLiteral("tab ") + tabs->tabText(i);
        }
    }
    return cut;
}

QImage Render(const QString& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(svg).render(&painter, QRectF(0, 0, size, size));
    return image;
}

// The mean difference of two pictures of one size, per channel, 0 to 255.
double Difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (x.size() != y.size())
        return 255;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                   qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * x.width() * x.height());
}

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

    TTempHome Home;

private Q_SLOTS:
    void initTestCase() {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        PracticeState = TPracticeState{};
        SaveListFile(GetListPath(), DesignListText() + QStringLiteral("7   *    3    =    20\r\n"));
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }
    void cleanupTestCase() { DestroyWindows(); }

    void windowsKeepTheirLayout_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("page");
        QTest::newRow("main window") << "Form1" << QSize() << -1;
        for (int page = 0; page < 6; ++page)
            QTest::newRow(qPrintable(QStringLiteral("setpoc page %1").arg(page + 1)))
                << "setpoc" << QSize(393, 348) << page;
        QTest::newRow("AboutBox") << "AboutBox" << QSize(298, 213) << -1;
        QTest::newRow("hist") << "hist" << QSize(361, 368) << -1;
        QTest::newRow("manual") << "manual" << QSize(412, 373) << -1;
        QTest::newRow("PasswordDlg") << "PasswordDlg" << QSize(262, 223) << -1;
        QTest::newRow("PasswordDlg1") << "PasswordDlg1" << QSize(236, 91) << -1;
        QTest::newRow("vyslForm") << "vyslForm" << QSize(352, 412) << -1;
    }
    void windowsKeepTheirLayout() {
        QFETCH(QString, window);
        QFETCH(QSize, client);
        QFETCH(int, page);
        QWidget* w = WindowNamed(window);
        QVERIFY(w);
        if (page >= 0)
            setpoc->scitan->setCurrentIndex(page);
        // Both layouts of the main window.
        for (int layout = 0; layout < (w == Form1 ? 2 : 1); ++layout) {
            if (layout == 1) {
                Form1->delenClick();
                Form1->spravne->show();
                Form1->spatne->show();
            }
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QCOMPARE(w->devicePixelRatioF(), 2.0);
            // The same pixels of layout as at the ordinary scale, each drawn
            // with twice as many screen pixels.
            if (client.isValid())
                QCOMPARE(w->size(), client);
            else
                QCOMPARE(w->width(), 532);
            const QPixmap picture = w->grab();
            QCOMPARE(picture.devicePixelRatio(), 2.0);
            QCOMPARE(picture.size(), w->size() * 2);
            const QStringList cut = CutTexts(w);
            QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("cut: ") + cut.join(", ")));
        }
        if (w == Form1)
            Form1->konecClick();
        else
            w->hide();
    }

    // Each picture comes from its drawing at the doubled size: the same as
    // the drawing rendered straight at that size, unlike an enlarged one.
    void picturesAreSharp_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("picture");
        QTest::newRow("nasob") << "Form1"
                               << "nasob"
                               << "nasob";
        QTest::newRow("delen") << "Form1"
                               << "delen"
                               << "delen";
        QTest::newRow("scitan") << "Form1"
                                << "scitan"
                                << "scitan";
        QTest::newRow("ocitan") << "Form1"
                                << "ocitan"
                                << "ocitan";
        QTest::newRow("nuluj") << "Form1"
                               << "nuluj"
                               << "nuluj";
        QTest::newRow("BitBtn5") << "Form1"
                                 << "BitBtn5"
                                 << "konec";
        QTest::newRow("setpoc OK") << "setpoc"
                                   << "OKBtn"
                                   << "ok";
        QTest::newRow("setpoc Zpět") << "setpoc"
                                     << "CancelBtn"
                                     << "cancel";
        QTest::newRow("Vymazat vše") << "vyslForm"
                                     << "BitBtn2"
                                     << "vymazat";
    }
    void picturesAreSharp() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(QString, picture);
        auto* b = WindowNamed(window)->findChild<QAbstractButton*>(button);
        QVERIFY(b);
        const QString svg = QStringLiteral(":/pictures/%1.svg").arg(picture);
        const QSize size = b->iconSize();
        // What the button's style asks for when it paints on this screen.
        const QPixmap drawn = b->icon().pixmap(size, b->devicePixelRatioF());
        QCOMPARE(drawn.devicePixelRatio(), 2.0);
        QCOMPARE(drawn.size(), size * 2);
        const QImage sharp = Render(svg, size.width() * 2);
        const QImage enlarged =
            Render(svg, size.width())
                .scaled(size * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double toSharp = Difference(drawn.toImage(), sharp);
        const double toEnlarged = Difference(drawn.toImage(), enlarged);
        QVERIFY2(toSharp < 1.0 && toEnlarged > 4 * toSharp + 1.0,
                 qPrintable(QStringLiteral("difference to the drawing %1, to the enlarged one %2")
                                .arg(toSharp)
                                .arg(toEnlarged)));
    }

    void programPictureIsSharp() {
        AboutBox->show();
        QVERIFY(QTest::qWaitForWindowExposed(AboutBox));
        const QPixmap picture = AboutBox->ProgramIcon->pixmap();
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QCOMPARE(picture.size(), AboutBox->ProgramIcon->size() * 2);
        AboutBox->hide();
        // The window icon, too, is drawn from its drawing at any size.
        const QPixmap icon = Form1->windowIcon().pixmap(QSize(32, 32), 2.0);
        QCOMPARE(icon.size(), QSize(64, 64));
        QVERIFY(Difference(icon.toImage(), Render(QStringLiteral(":/pictures/zirmon.svg"), 64)) <
                1.0);
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
