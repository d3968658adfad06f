// The password change dialog driven as a user drives it: opened from the
// settings dialog, answered from timers while both run their own loops.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/ProfileFile.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"

#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

void ClearField() {
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Backspace);
}

QString Status() {
    return PasswordDlg->info->text();
}

QString StoredValue() {
    return TProfileFile(GetIniPath())
        .ReadString(QStringLiteral("PASSWD"), QStringLiteral("USRPASSWD"),
                    QStringLiteral("<missing>"));
}

const QString Correct = QStringLiteral("Heslo je správně");
const QString Wrong = QStringLiteral("Špatné heslo!");
const QString Same = QStringLiteral("Druhé zadání hesla se shoduje s prvním. OK");
const QString Differ = QStringLiteral("Druhé zadání hesla se s prvním neshoduje!");

} // namespace

class TestPasswordDialog : public QObject {
    Q_OBJECT

    TTempHome Home;
    QString Ini() const { return Home.dataDir() + "zirmon.ini"; }

    void Start(const QByteArray& file) {
        DestroyWindows();
        QDir(Home.dataDir()).removeRecursively();
        WriteAll(Ini(), file);
        PracticeState = TPracticeState{};
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }

    // Opens the settings dialog, there "Nastavení hesla", and runs inside
    // while the change dialog is open; inside has to close it. before runs
    // in the settings dialog first.
    void Open(const std::function<void()>& inside, const std::function<void()>& before = {}) {
        WhenModal("settings dialog", Is(setpoc), [inside, before](QWidget*) {
            if (before)
                before();
            WhenModal("password change dialog", Is(PasswordDlg), [inside](QWidget*) {
                inside();
                if (PasswordDlg->isVisible()) {
                    Failures << QStringLiteral("the change dialog stayed open");
                    PasswordDlg->reject();
                }
            });
            Click(setpoc->Button1);
            Click(setpoc->CancelBtn);
        });
        PassTheGate();
        Form1->nast->trigger();
        QVERIFY(!setpoc->isVisible());
        QVERIFY(!PasswordDlg->isVisible());
    }

    // A password stored, and accepted in PASS; the focus is in heslo1.
    static void GiveOld(const QString& old) {
        QCOMPARE(FocusName(), QStringLiteral("PASS"));
        Type(old);
        Key(Qt::Key_Tab);
        QCOMPARE(Status(), Correct);
        QCOMPARE(FocusName(), QStringLiteral("heslo1"));
    }

private Q_SLOTS:
    void init() { Failures.clear(); }
    void cleanup() {
        StopWaiting();
        QVERIFY2(Failures.isEmpty(), qPrintable(Failures.join(QStringLiteral("; "))));
        DestroyWindows();
    }

    void design() {
        Start("[joheslo]\r\nhsl=1\r\n");
        QCOMPARE(PasswordDlg->objectName(), QStringLiteral("PasswordDlg"));
        QCOMPARE(PasswordDlg->windowTitle(), QStringLiteral("Změna hesla"));
        QCOMPARE(PasswordDlg->size(), QSize(262, 223));
        QCOMPARE(PasswordDlg->minimumSize(), PasswordDlg->maximumSize());
        QVERIFY(!(PasswordDlg->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(PasswordDlg->font().pixelSize(), 11);
        QVERIFY(PasswordDlg->font().bold());
        QCOMPARE(PasswordDlg->Label1->text(), QStringLiteral("Zadejte staré heslo:"));
        QCOMPARE(PasswordDlg->Label2->text(), QStringLiteral("Zadejte nové heslo:"));
        QCOMPARE(PasswordDlg->Label3->text(), QStringLiteral("Zdejte nové hoslo znovu:"));
        QCOMPARE(PasswordDlg->Label1->geometry(), QRect(8, 9, 114, 13));
        QCOMPARE(PasswordDlg->Label2->geometry(), QRect(6, 60, 114, 13));
        QCOMPARE(PasswordDlg->Label3->geometry(), QRect(8, 112, 145, 13));
        QCOMPARE(PasswordDlg->PASS->geometry(), QRect(8, 27, 220, 20));
        QCOMPARE(PasswordDlg->heslo1->geometry(), QRect(8, 80, 217, 20));
        QCOMPARE(PasswordDlg->heslo2->geometry(), QRect(8, 129, 217, 20));
        QCOMPARE(PasswordDlg->OKBtn->geometry(), QRect(18, 171, 77, 27));
        QCOMPARE(PasswordDlg->cac->geometry(), QRect(144, 171, 77, 27));
        QCOMPARE(PasswordDlg->info->pos(), QPoint(8, 200));
        QCOMPARE(PasswordDlg->OKBtn->text(), QStringLiteral("OK"));
        QCOMPARE(PasswordDlg->cac->text(), QStringLiteral("Zpět"));
        QVERIFY(PasswordDlg->OKBtn->isDefault());
        QVERIFY(!PasswordDlg->OKBtn->icon().pixmap(16, 16).isNull());
        QVERIFY(!PasswordDlg->cac->icon().pixmap(16, 16).isNull());
        QCOMPARE(Status(), QString());
        for (QLineEdit* field : {PasswordDlg->PASS, PasswordDlg->heslo1, PasswordDlg->heslo2}) {
            QCOMPARE(field->echoMode(), QLineEdit::Password);
            QCOMPARE(
                field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field),
                int(u'*'));
        }
        // Created with no password stored: everything greyed but "Zpět".
        QVERIFY(!PasswordDlg->PASS->isEnabled());
        QVERIFY(!PasswordDlg->heslo1->isEnabled());
        QVERIFY(!PasswordDlg->heslo2->isEnabled());
        QVERIFY(!PasswordDlg->OKBtn->isEnabled());
        QVERIFY(PasswordDlg->cac->isEnabled());
    }

    void createdWithPasswordStored() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        QVERIFY(PasswordDlg->PASS->isEnabled());
        QVERIFY(!PasswordDlg->heslo1->isEnabled());
        QVERIFY(!PasswordDlg->heslo2->isEnabled());
        QVERIFY(!PasswordDlg->OKBtn->isEnabled());
    }

    void tabOrder() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([] {
            GiveOld(QStringLiteral("abc"));
            Type(QStringLiteral("x"));
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            Type(QStringLiteral("x"));
            Key(Qt::Key_Tab); // the entries match: OK takes the focus
            QCOMPARE(FocusName(), QStringLiteral("OKBtn"));
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("cac"));
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("heslo1"));
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            Key(Qt::Key_Backtab);
            QCOMPARE(Status(), Same); // leaving heslo2 backwards exits it too
            QCOMPARE(FocusName(), QStringLiteral("OKBtn"));
            Key(Qt::Key_Backtab);
            QCOMPARE(FocusName(), QStringLiteral("PASS"));
            PasswordDlg->close();
        });
    }

    void firstUse() {
        Start("[joheslo]\r\nhsl=1\r\n");
        const QString password = QStringLiteral("Kočka 1");
        Open([&] {
            QVERIFY(!PasswordDlg->PASS->isEnabled());
            QVERIFY(PasswordDlg->heslo1->isEnabled() && PasswordDlg->heslo2->isEnabled());
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            QCOMPARE(FocusName(), QStringLiteral("heslo1"));
            Type(password);
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            QCOMPARE(Status(), QString());
            Type(password);
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Same);
            QVERIFY(PasswordDlg->OKBtn->isEnabled());
            QCOMPARE(FocusName(), QStringLiteral("OKBtn"));
            Key(Qt::Key_Return);
            QVERIFY(!PasswordDlg->isVisible());
        });
        QCOMPARE(PracticeState.StoredPassword, password);
        QCOMPARE(ReadAll(Ini()),
                 QByteArray("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=Ko\xe8ka 1\r\n"));
        // The next opening asks for the old password first.
        Open([] {
            QVERIFY(PasswordDlg->PASS->isEnabled());
            QCOMPARE(FocusName(), QStringLiteral("PASS"));
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            QCOMPARE(PasswordDlg->heslo1->text(), QString());
            QCOMPARE(PasswordDlg->heslo2->text(), QString());
            QCOMPARE(Status(), QString());
            Key(Qt::Key_Escape);
        });
    }

    // Enter in the second field checks the pair as leaving it does, and a
    // matching pair is stored at once.
    void enterInSecondField_data() {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("stored");
        QTest::newRow("same") << "Kočka 1" << true;
        QTest::newRow("different") << "Kočka 2" << false;
    }
    void enterInSecondField() {
        QFETCH(QString, second);
        QFETCH(bool, stored);
        Start("[joheslo]\r\nhsl=1\r\n");
        Open([&] {
            Type(QStringLiteral("Kočka 1"));
            Key(Qt::Key_Tab);
            Type(second);
            Key(Qt::Key_Return);
            QCOMPARE(PasswordDlg->isVisible(), !stored);
            QCOMPARE(Status(),
                     stored ? Same : QStringLiteral("Druhé zadání hesla se s prvním neshoduje!"));
            if (!stored) {
                QCOMPARE(FocusName(), QStringLiteral("heslo2"));
                QVERIFY(!PasswordDlg->OKBtn->isEnabled());
                Key(Qt::Key_Escape);
            }
        });
        QCOMPARE(ReadAll(Ini()),
                 stored ? QByteArray("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=Ko\xe8ka 1\r\n")
                        : QByteArray("[joheslo]\r\nhsl=1\r\n"));
    }

    void oldPassword_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("stored") << "Abc" << true;
        QTest::newRow("master") << "741mv58" << true;
        QTest::newRow("other case") << "abc" << false;
        QTest::newRow("trailing blank") << "Abc " << false;
        QTest::newRow("leading blank") << " Abc" << false;
        QTest::newRow("shorter") << "Ab" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("master cut short") << "741mv5" << false;
    }
    void oldPassword() {
        QFETCH(QString, entry);
        QFETCH(bool, accepted);
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=Abc\r\n");
        Open([&] {
            QCOMPARE(FocusName(), QStringLiteral("PASS"));
            Type(entry);
            QCOMPARE(PasswordDlg->PASS->text(), entry);
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), accepted ? Correct : Wrong);
            QCOMPARE(PasswordDlg->heslo1->isEnabled(), accepted);
            QCOMPARE(PasswordDlg->heslo2->isEnabled(), accepted);
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            // A refused entry leaves the focus where the Tab took it.
            QCOMPARE(FocusName(), accepted ? QStringLiteral("heslo1") : QStringLiteral("cac"));
            PasswordDlg->close();
        });
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("Abc"));
    }

    void refusedAfterAccepted() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([] {
            GiveOld(QStringLiteral("abc"));
            Type(QStringLiteral("n"));
            Key(Qt::Key_Tab);
            Type(QStringLiteral("n"));
            Key(Qt::Key_Tab);
            QVERIFY(PasswordDlg->OKBtn->isEnabled());
            Key(Qt::Key_Backtab);
            QCOMPARE(FocusName(), QStringLiteral("PASS"));
            Type(QStringLiteral("x"));
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Wrong);
            QVERIFY(!PasswordDlg->heslo1->isEnabled());
            QVERIFY(!PasswordDlg->heslo2->isEnabled());
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            // The Tab took the focus to OK, which is greyed now.
            QCOMPARE(FocusName(), QStringLiteral("PASS"));
            Key(Qt::Key_Return); // nothing happens
            QVERIFY(PasswordDlg->isVisible());
            PasswordDlg->close();
        });
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("abc"));
        QCOMPARE(StoredValue(), QStringLiteral("abc"));
    }

    void differingEntries() {
        Start("[joheslo]\r\nhsl=1\r\n");
        Open([] {
            Type(QStringLiteral("abc"));
            Key(Qt::Key_Tab);
            Type(QStringLiteral("abC"));
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Differ);
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            // A mouse press elsewhere is taken back to heslo2 and dropped.
            Click(PasswordDlg->cac);
            QVERIFY(PasswordDlg->isVisible());
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            ClearField();
            Type(QStringLiteral("abc "));
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Differ);
            Key(Qt::Key_Backspace);
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Same);
            QVERIFY(PasswordDlg->OKBtn->isEnabled());
            Click(PasswordDlg->OKBtn);
        });
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("abc"));
        QCOMPARE(StoredValue(), QStringLiteral("abc"));
    }

    void emptyEntriesRemoveThePassword() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([] {
            GiveOld(QStringLiteral("abc"));
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Same);
            QVERIFY(PasswordDlg->OKBtn->isEnabled());
            Click(PasswordDlg->OKBtn);
        });
        QCOMPARE(PracticeState.StoredPassword, QString());
        QCOMPARE(ReadAll(Ini()), QByteArray("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=\r\n"));
    }

    void mouseOnOkAfterMatchingEntries() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([] {
            GiveOld(QStringLiteral("abc"));
            Type(QStringLiteral("new"));
            Key(Qt::Key_Tab);
            Type(QStringLiteral("new"));
            // OK is greyed until heslo2 has been left with matching entries:
            // a greyed button takes no focus, so nothing happens.
            Click(PasswordDlg->OKBtn);
            QVERIFY(PasswordDlg->isVisible());
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            QCOMPARE(Status(), Correct);
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Same);
            Click(PasswordDlg->heslo2);
            QCOMPARE(FocusName(), QStringLiteral("heslo2"));
            // The exit puts the focus on OK itself: the press that left
            // heslo2 is dropped, the next one stores.
            Click(PasswordDlg->OKBtn);
            QVERIFY(PasswordDlg->isVisible());
            QCOMPARE(FocusName(), QStringLiteral("OKBtn"));
            QCOMPARE(StoredValue(), QStringLiteral("abc"));
            Click(PasswordDlg->OKBtn);
            QVERIFY(!PasswordDlg->isVisible());
        });
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("new"));
        QCOMPARE(StoredValue(), QStringLiteral("new"));
    }

    void mouseOnZpetAfterCorrectOldPassword() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([] {
            Type(QStringLiteral("abc"));
            Click(PasswordDlg->cac);
            QVERIFY(PasswordDlg->isVisible());
            QCOMPARE(FocusName(), QStringLiteral("heslo1"));
            QCOMPARE(Status(), Correct);
            Type(QStringLiteral("zz"));
            Key(Qt::Key_Escape); // closes at once, with the step of "Zpět"
            QVERIFY(!PasswordDlg->isVisible());
            QCOMPARE(Status(), QString());
            QCOMPARE(PasswordDlg->PASS->text(), QString());
            QCOMPARE(PasswordDlg->heslo1->text(), QString());
            QVERIFY(!PasswordDlg->heslo1->isEnabled());
            QVERIFY(!PasswordDlg->heslo2->isEnabled());
            QVERIFY(setpoc->joheslo->isChecked()); // a password is stored
        });
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("abc"));
    }

    void okGreyedAtEveryOpening() {
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([] {
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            Key(Qt::Key_Return); // nothing to store yet
            QVERIFY(PasswordDlg->isVisible());
            GiveOld(QStringLiteral("abc"));
            Key(Qt::Key_Tab);
            Key(Qt::Key_Tab);
            QVERIFY(PasswordDlg->OKBtn->isEnabled());
            PasswordDlg->close();
        });
        Open([] {
            QVERIFY(!PasswordDlg->OKBtn->isEnabled());
            // The pair stays as the last opening left it.
            QVERIFY(PasswordDlg->heslo1->isEnabled());
            Key(Qt::Key_Return);
            QVERIFY(PasswordDlg->isVisible());
            PasswordDlg->close();
        });
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("abc"));
        QCOMPARE(StoredValue(), QStringLiteral("abc"));
    }

    void closeBoxRunsNoStep() {
        Start("[joheslo]\r\nhsl=1\r\n");
        Open([] {
            Type(QStringLiteral("ab"));
            Key(Qt::Key_Tab);
            Type(QStringLiteral("cd"));
            // Closing is no exit: no status, no change of the fields.
            PasswordDlg->close();
            QVERIFY(!PasswordDlg->isVisible());
            QCOMPARE(Status(), QString());
            QCOMPARE(PasswordDlg->heslo1->text(), QStringLiteral("ab"));
            QCOMPARE(PasswordDlg->heslo2->text(), QStringLiteral("cd"));
            QVERIFY(PasswordDlg->heslo1->isEnabled());
            QVERIFY(setpoc->joheslo->isChecked());
            QVERIFY(setpoc->Button1->isEnabled());
        });
        QCOMPARE(StoredValue(), QStringLiteral("<missing>"));
    }

    void zpetWithoutPasswordUnticksProtection() {
        Start("[joheslo]\r\nhsl=1\r\n");
        bool unticked = false;
        Open([&] {
            Type(QStringLiteral("ab"));
            Click(PasswordDlg->cac);
            unticked = !setpoc->joheslo->isChecked() && !setpoc->Button1->isEnabled();
        });
        QVERIFY(unticked);
        QVERIFY(!PasswordDlg->heslo1->isEnabled());
        QCOMPARE(PasswordDlg->heslo1->text(), QString());
    }

    void storableCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::newRow("ASCII") << "Heslo 12!" << true;
        QTest::newRow("Czech") << "žluťoučký kůň úpěl ďábelské ódy ŘŠČ" << true;
        QTest::newRow("euro sign") << "€" << true;
        QTest::newRow("German") << "äöüß" << true;
        QTest::newRow("Spanish n") << "ñ" << false;
        QTest::newRow("Chinese") << "漢" << false;
        QTest::newRow("Cyrillic") << "ж" << false;
    }
    void storableCharacters() {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QCOMPARE(FitsSettingsEncoding(text), fits);
        Start("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        Open([&] {
            Type(text);
            QCOMPARE(PasswordDlg->PASS->text(), fits ? text : QString());
            ClearField();
            GiveOld(QStringLiteral("abc"));
            Type(text);
            QCOMPARE(PasswordDlg->heslo1->text(), fits ? text : QString());
            Key(Qt::Key_Tab);
            Type(text);
            QCOMPARE(PasswordDlg->heslo2->text(), fits ? text : QString());
            Key(Qt::Key_Tab);
            QCOMPARE(Status(), Same);
            Click(PasswordDlg->OKBtn);
        });
        // Whatever was stored reads back the same.
        QCOMPARE(StoredValue(), PracticeState.StoredPassword);
    }

    void refusedWriteClosesTheDialog() {
        Start("[joheslo]\r\nhsl=1\r\n");
        QStringList boxes;
        Open(
            [&] {
                WhenModal("error box", IsBox("ErrorBox"), NoteAndConfirm(&boxes));
                Type(QStringLiteral("q"));
                Key(Qt::Key_Tab);
                Type(QStringLiteral("q"));
                Key(Qt::Key_Tab);
                Key(Qt::Key_Return);
                QVERIFY(!PasswordDlg->isVisible());
            },
            [this] {
                QFile::remove(Ini());
                QDir().mkpath(Ini()); // a folder where the file should be
            });
        QCOMPARE(boxes, QStringList{"Zirmon|Unable to write to " + Ini() + "."});
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("q"));
    }

    void centredOnFirstShowingThenKept() {
        Start("[joheslo]\r\nhsl=1\r\n");
        QPoint first;
        Open([&] {
            const QRect area = PasswordDlg->screen()->availableGeometry();
            first = PasswordDlg->frameGeometry().center();
            QVERIFY(qAbs(first.x() - area.center().x()) <= 1);
            QVERIFY(qAbs(first.y() - area.center().y()) <= 1);
            PasswordDlg->move(PasswordDlg->pos() + QPoint(30, 20));
            first = PasswordDlg->pos();
            PasswordDlg->close();
        });
        Open([&] {
            QCOMPARE(PasswordDlg->pos(), first);
            PasswordDlg->close();
        });
    }
};

QTEST_MAIN(TestPasswordDialog)
#include "tst_passwd.moc"
