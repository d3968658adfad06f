// Qt's own texts in Czech: the context menu of a text field reads Czech,
// while the program's message boxes keep their English captions and "OK".
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/ErrorBox.h"
#include "app/QtTexts.h"
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "windows/Mainzirm.h"
#include "windows/Passwd.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// The texts of a context menu, without the key shortcuts after the tab.
QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
    return texts;
}

// Opens a text field's context menu with a right click, as a user does,
// and notes its texts while it is open. False when no menu came up.
bool RightClickMenu(QLineEdit* field, QStringList& texts) {
    bool seen = false;
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [&texts, &seen, poll](int triesLeft) {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            texts = MenuTexts(menu);
            seen = true;
            menu->close();
            return;
        }
        if (triesLeft > 0)
            QTimer::singleShot(10, qApp, [poll, triesLeft] { (*poll)(triesLeft - 1); });
    };
    QTimer::singleShot(0, qApp, [poll] { (*poll)(300); });
    // Through the window, as the platform delivers it: the window turns the
    // right button into the context menu event.
    QWidget* window = field->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      field->mapTo(window, QPoint(5, field->height() / 2)));
    if (!QTest::qWaitFor([&seen] { return seen; }, 5000))
        return false;
    *poll = nullptr;
    return seen;
}

} // namespace

class TestQtTexts : public QObject {
    Q_OBJECT

    TTempHome Home;
    QStringList English; // the menu before Qt's Czech texts are loaded

private Q_SLOTS:
    void initTestCase() {
        QLineEdit field;
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        English = MenuTexts(menu.get());
        QVERIFY(English.contains(QStringLiteral("&Copy")));
        QVERIFY(LoadQtTranslations());
        PracticeState = TPracticeState{};
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }
    void cleanupTestCase() {
        StopWaiting();
        DestroyWindows();
    }
    void cleanup() { QVERIFY2(Failures.isEmpty(), qPrintable(Failures.join('\n'))); }

    void contextMenuInCzech_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("answer field") << "vy";
        QTest::newRow("old password") << "PASS";
    }
    void contextMenuInCzech() {
        QFETCH(QString, field);
        QLineEdit* edit = nullptr;
        if (field == QLatin1String("vy")) {
            Form1->scitanClick();
            edit = Form1->vy;
        } else {
            PasswordDlg->show();
            QVERIFY(QTest::qWaitForWindowActive(PasswordDlg));
            edit = PasswordDlg->PASS;
            edit->setEnabled(true);
        }
        QVERIFY(edit->isVisible());
        QStringList texts;
        QVERIFY(RightClickMenu(edit, texts));
        QCOMPARE(texts.size(), English.size());
        for (const char* czech :
             {"&Zpět", "&Znovu", "&Vyjmout", "&Kopírovat", "&Vložit", "Smazat", "Vybrat vše"})
            QVERIFY2(texts.contains(QString::fromUtf8(czech)), qPrintable(texts.join(", ")));
        for (const QString& text : texts)
            QVERIFY2(!English.contains(text), qPrintable(text));
        if (field == QLatin1String("vy"))
            Form1->konecClick();
        else
            PasswordDlg->hide();
    }

    // The program's own boxes are captioned in English with one "OK" button.
    void boxesKeepTheirEnglish_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("icon");
        QTest::newRow("information") << "InformationBox"
                                     << "Information|OK" << 1;
        QTest::newRow("warning") << "WarningBox"
                                 << "Warning|OK" << 2;
        QTest::newRow("error") << "ErrorBox"
                               << "Zirmon|OK" << 3;
    }
    void boxesKeepTheirEnglish() {
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        QFETCH(int, icon);
        QString seen;
        int seenIcon = -1;
        int buttons = 0;
        const QByteArray name = kind.toLatin1();
        WhenModal("message box", IsBox(name.constData()), [&](QWidget* w) {
            auto* box = static_cast<QMessageBox*>(w);
            seen = box->windowTitle() + QLatin1Char('|') + box->button(QMessageBox::Ok)->text();
            seenIcon = box->icon();
            buttons = int(box->buttons().size());
            Key(Qt::Key_Return);
        });
        if (kind == QLatin1String("InformationBox"))
            ShowInformationBox(QStringLiteral("text"));
        else if (kind == QLatin1String("WarningBox"))
            ShowWarningBox(QStringLiteral("text"));
        else
            ShowErrorBox(QStringLiteral("text"));
        QCOMPARE(seen, expected);
        QCOMPARE(seenIcon, icon);
        QCOMPARE(buttons, 1);
    }
};

QTEST_MAIN(TestQtTexts)
#include "tst_qttexts.moc"
