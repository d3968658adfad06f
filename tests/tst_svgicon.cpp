// The pictures of the buttons: named in the designs, drawn from SVG at the
// pixel density they are shown at, and not parsed before they are needed.
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "windows/About.h"
#include "windows/Histr.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/SvgIcon.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QAbstractButton>
#include <QImage>
#include <QtTest>

namespace {

// How many pixels of the picture are not fully transparent.
int PaintedPixels(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return painted;
}

} // namespace

class TSvgIconTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Home = std::make_unique<TTempHome>();
        CreateWindows();
    }
    void cleanupTestCase() { DestroyWindows(); }

    void everyNamedPictureIsOnItsButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("picture");
        QTest::newRow("nasob") << "nasob"
                               << "nasob";
        QTest::newRow("delen") << "delen"
                               << "delen";
        QTest::newRow("scitan") << "scitan"
                                << "scitan";
        QTest::newRow("ocitan") << "ocitan"
                                << "ocitan";
        QTest::newRow("nuluj") << "nuluj"
                               << "nuluj";
        QTest::newRow("BitBtn5") << "BitBtn5"
                                 << "konec";
    }
    void everyNamedPictureIsOnItsButton() {
        QFETCH(QString, button);
        QFETCH(QString, picture);
        auto* b = Form1->findChild<QAbstractButton*>(button);
        QVERIFY(b);
        QCOMPARE(b->property("svgIcon").toString(), ":/pictures/" + picture + ".svg");
        QVERIFY(!b->icon().isNull());
        QVERIFY(PaintedPixels(b->icon().pixmap(QSize(32, 32))) > 50);
    }

    // Every button of every window that names a picture shows it, and the
    // names lead to pictures that exist.
    void allWindows() {
        int named = 0;
        for (QWidget* window : std::initializer_list<QWidget*>{
                 Form1, setpoc, AboutBox, hist, manual, PasswordDlg, PasswordDlg1, vyslForm}) {
            for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
                const QString picture = b->property("svgIcon").toString();
                if (picture.isEmpty())
                    continue;
                ++named;
                QVERIFY2(QFile::exists(picture), qPrintable(picture));
                QVERIFY2(PaintedPixels(b->icon().pixmap(QSize(16, 16))) > 10,
                         qPrintable(b->objectName()));
            }
        }
        QCOMPARE(named, 17);
        QVERIFY(!Form1->windowIcon().isNull());
    }

    // At twice the pixel density the picture is drawn with twice the pixels,
    // not an enlarged copy of the small one.
    void sharpAtDoubleDensity_data() {
        QTest::addColumn<int>("side");
        QTest::newRow("16") << 16;
        QTest::newRow("32") << 32;
        QTest::newRow("48") << 48;
    }
    void sharpAtDoubleDensity() {
        QFETCH(int, side);
        const QIcon icon = SvgIcon(QStringLiteral(":/pictures/scitan.svg"));
        const QPixmap once = icon.pixmap(QSize(side, side), 1.0);
        const QPixmap twice = icon.pixmap(QSize(side, side), 2.0);
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        QCOMPARE(twice.size(), once.size() * 2);
        // A picture drawn at the finer grid has detail a doubled one lacks:
        // some 2 x 2 block of it is not of one colour.
        const QImage fine = twice.toImage();
        const QImage coarse = once.scaled(once.size() * 2).toImage();
        QVERIFY(fine != coarse.convertToFormat(fine.format()));
    }

    void disabledLooksDifferent() {
        const QIcon icon = SvgIcon(QStringLiteral(":/pictures/vymazat.svg"));
        const QImage normal = icon.pixmap(QSize(24, 24), 1.0, QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(QSize(24, 24), 1.0, QIcon::Disabled).toImage();
        QCOMPARE(disabled.size(), normal.size());
        QVERIFY(disabled.convertToFormat(normal.format()) != normal);
    }

private:
    std::unique_ptr<TTempHome> Home;
};

QTEST_MAIN(TSvgIconTest)
#include "tst_svgicon.moc"
