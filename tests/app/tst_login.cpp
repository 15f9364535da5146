#include "ui/form_registry.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "settings/persian_keyboard.h"
#include "settings/software_settings.h"
#include "storage/settings_store.h"
#include "support/test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kRefused = QStringLiteral("کاربر گرامي نام کاربري و رمز عبور شما فاقد اعتبار مي باشد");
const QString kRefusedTitle = QStringLiteral("کاربر غيره مجاز");
const QString kUser = QStringLiteral("Username");
const QString kPassword = QStringLiteral("Password");

void storeLogin(const QString& user, const QString& password)
{
    SettingsStore::write(SettingsStore::kUser, kUser, user);
    SettingsStore::write(SettingsStore::kUser, kPassword, password);
}

// The program's start: the login window is the first window, its load makes the check.
Form18* start()
{
    return forms().get<Form18>();
}

// Presses "ورود" and answers what comes: the refusal message, or the main window (which the
// answer closes, ending the program). Returns the name of the modal window that came.
SeenModal logIn(Form18* login, const QString& user, const QString& password)
{
    login->Text1->setText(user);
    login->Text2->setText(password);
    ModalAnswerer answer([](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("Form1"))
            modal->close();
        else
            clickButton(modal, QStringLiteral("تأييد"));
    });
    login->Command1->click();
    return answer.seen();
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

    QString m_hash; // of "Pass word", made once: hashing is slow on purpose

    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void initTestCase() { m_hash = LoginPassword::hash(QStringLiteral("Pass word")); }
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        keyboardLayout().activate(QStringLiteral("1"));
    }
    void cleanup()
    {
        m_program.reset();
        keyboardLayout().activate(QStringLiteral("1"));
    }

    void noLoginOpensTheMainWindowStraightAway()
    {
        Form18* login = start();
        QVERIFY(!login->isVisible());
        QVERIFY(forms().isLoaded<Form18>());
        QVERIFY(forms().isLoaded<Form1>());
        QVERIFY(forms().get<Form1>()->isVisible());
        // The settings window holds the values for the run, hidden.
        QVERIFY(forms().isLoaded<Form16>());
        QVERIFY(!forms().get<Form16>()->isVisible());
    }

    void loginAsksWithAMaskedPassword()
    {
        storeLogin(QStringLiteral("ali"), m_hash);
        Form18* login = start();
        QVERIFY(login->isVisible());
        QVERIFY(!forms().isLoaded<Form1>());
        QCOMPARE(login->Text2->echoMode(), QLineEdit::Password);
        QTest::keyClicks(login->Text2, QStringLiteral("abc"));
        QVERIFY(!login->Text2->displayText().contains(QStringLiteral("abc")));
        QVERIFY(login->Text1->text().isEmpty());
    }

    void attempts_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("correct") << QStringLiteral("ali") << QStringLiteral("Pass word") << true;
        QTest::newRow("wrong password") << QStringLiteral("ali") << QStringLiteral("Pass Word") << false;
        QTest::newRow("user name case") << QStringLiteral("Ali") << QStringLiteral("Pass word") << false;
        QTest::newRow("password trailing blank") << QStringLiteral("ali") << QStringLiteral("Pass word ") << false;
    }
    void attempts()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        storeLogin(QStringLiteral("ali"), m_hash);
        Form18* login = start();
        const SeenModal seen = logIn(login, user, password);
        if (accepted) {
            QCOMPARE(seen.objectName, QStringLiteral("Form1"));
            QCOMPARE(m_program->endCount, 1);
        } else {
            QCOMPARE(seen.text, kRefused);
            QCOMPARE(seen.title, kRefusedTitle);
            QVERIFY(!forms().isLoaded<Form1>());
            QCOMPARE(m_program->endCount, 0);
            QCOMPARE(login->Text1->text(), user);
            QCOMPARE(login->Text2->text(), password);
            QVERIFY(login->isVisible());
        }
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, kPassword), m_hash);
    }

    void typingTheStoredHashIsRefused()
    {
        storeLogin(QStringLiteral("ali"), m_hash);
        QCOMPARE(logIn(start(), QStringLiteral("ali"), m_hash).text, kRefused);
    }

    void plainPasswordOfAnEarlierVersionIsUpgraded()
    {
        storeLogin(QStringLiteral("ali"), QStringLiteral("old secret"));
        Form18* login = start();
        QCOMPARE(logIn(login, QStringLiteral("ali"), QStringLiteral("old secreT")).text, kRefused);
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, kPassword), QStringLiteral("old secret"));

        QCOMPARE(logIn(login, QStringLiteral("ali"), QStringLiteral("old secret")).objectName, QStringLiteral("Form1"));
        const QString stored = SettingsStore::read(SettingsStore::kUser, kPassword);
        QVERIFY(LoginPassword::isHash(stored));
        QVERIFY(LoginPassword::matches(stored, QStringLiteral("old secret")));
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, kUser), QStringLiteral("ali"));
    }

    void leavingEndsTheProgram_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("exit button") << false;
        QTest::newRow("close box") << true;
    }
    void leavingEndsTheProgram()
    {
        QFETCH(bool, closeBox);
        storeLogin(QStringLiteral("ali"), m_hash);
        Form18* login = start();
        if (closeBox)
            login->close();
        else
            QVERIFY(clickButton(login, QStringLiteral("خروج")));
        QCOMPARE(m_program->endCount, 1);
        QVERIFY(!forms().isLoaded<Form18>());
        QVERIFY(!forms().isLoaded<Form1>());
    }

    void persianKeyboardFromTheLoginOn()
    {
        // A login typed on the Persian layout, stored by an earlier version in plain text.
        SettingsStore::write(SettingsStore::kDesktop, QStringLiteral("Key"), QStringLiteral("1"));
        storeLogin(QStringLiteral("علی"), QStringLiteral("۱۳۶۲"));
        Form18* login = start();
        QVERIFY(keyboardLayout().persianActive());
        QTest::keyClicks(login->Text1, QStringLiteral("ugd"));
        QTest::keyClicks(login->Text2, QStringLiteral("1362"));
        ModalAnswerer answer([](QWidget* modal) { modal->close(); });
        login->Command1->click();
        QCOMPARE(answer.seen().objectName, QStringLiteral("Form1"));
        QVERIFY(LoginPassword::matches(SettingsStore::read(SettingsStore::kUser, kPassword), QStringLiteral("۱۳۶۲")));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
