#include "ui/common_dialog.h"
#include "app/main_window.h"
#include "settings/persian_keyboard.h"
#include "settings/software_settings.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "support/fixtures.h"
#include "ui/form_registry.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using fixtures::savePicture;

namespace {

const QString kPictureKey = QStringLiteral("عکس پشت زمينه");
const QString kSecurityTitle = QStringLiteral("امنيت نرم افزار");

QString readUser(const QString& key)
{
    return SettingsStore::read(SettingsStore::kUser, key);
}

QSize shownPictureSize(const Form1& mainWindow)
{
    const QPixmap shown = mainWindow.Image1->pixmap();
    return shown.isNull() ? QSize() : shown.size();
}

} // namespace

class TestSoftwareSettings : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        keyboardLayout().activate(QStringLiteral("1"));
    }
    void cleanup()
    {
        m_program.reset();
        keyboardLayout().activate(QStringLiteral("1"));
        CommonDialog::setAnswerForTests(nullptr);
    }

    void loadShowsStoredLogin_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("loginSet");
        QTest::newRow("no login") << QString() << QString() << false;
        QTest::newRow("login") << QStringLiteral("مدير") << QStringLiteral("$argon2id$v=19$stored") << true;
        QTest::newRow("user name only") << QStringLiteral("x") << QString() << true;
    }
    void loadShowsStoredLogin()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, loginSet);
        SettingsStore::write(SettingsStore::kUser, QStringLiteral("Username"), user);
        SettingsStore::write(SettingsStore::kUser, QStringLiteral("Password"), password);
        Form16* settings = forms().get<Form16>();
        QVERIFY(!settings->isVisible());
        QCOMPARE(settings->Text2->text(), user);
        QCOMPARE(settings->Text3->text(), password);
        QCOMPARE(settings->Text3->displayText(), QString(password.size(), QLatin1Char('@')));
        QCOMPARE(settings->Command4->isEnabled(), !loginSet);
        QCOMPARE(settings->Command5->isEnabled(), loginSet);
    }

    void setPasswordNeedsBothTexts_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("no user name") << QString() << QStringLiteral("secret")
                                      << QStringLiteral("کاربر گرامي لطفآ نام کاربري را درست وارد کنيد");
        QTest::newRow("no password") << QStringLiteral("ali") << QString()
                                     << QStringLiteral("کاربر گرامي لطفآ رمز عبور را درست وارد کنيد");
    }
    void setPasswordNeedsBothTexts()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);
        Form16* settings = forms().get<Form16>();
        settings->Text2->setText(user);
        settings->Text3->setText(password);
        ModalAnswerer answer(QStringLiteral("تأييد"));
        settings->Command4->click();
        QCOMPARE(answer.seen().text, message);
        QCOMPARE(answer.seen().title, kSecurityTitle);
        QVERIFY(settings->Command4->isEnabled());
        QCOMPARE(readUser(QStringLiteral("Username")), QString());
        QCOMPARE(readUser(QStringLiteral("Password")), QString());
    }

    void setPasswordStoresAHashNeverThePassword()
    {
        Form16* settings = forms().get<Form16>();
        settings->Text2->setText(QStringLiteral("Ali "));
        settings->Text3->setText(QStringLiteral("رمز 1"));
        ModalAnswerer answer(QStringLiteral("تأييد"));
        settings->Command4->click();
        QCOMPARE(answer.seen().text, QStringLiteral("نرم افزار با موفقيت رمز گذاري شد"));
        QCOMPARE(answer.seen().title, kSecurityTitle);
        QVERIFY(!settings->Command4->isEnabled());
        QVERIFY(settings->Command5->isEnabled());

        // The user name exactly as typed; the password only as a salted hash.
        QCOMPARE(readUser(QStringLiteral("Username")), QStringLiteral("Ali "));
        const QString stored = readUser(QStringLiteral("Password"));
        QVERIFY(LoginPassword::isHash(stored));
        QVERIFY(!stored.contains(QStringLiteral("رمز 1")));
        QVERIFY(LoginPassword::matches(stored, QStringLiteral("رمز 1")));
        QVERIFY(!LoginPassword::matches(stored, QStringLiteral("رمز 1 ")));
        QVERIFY(!LoginPassword::matches(stored, stored));
    }

    void removePasswordThenRestartWithoutLogin()
    {
        SettingsStore::write(SettingsStore::kUser, QStringLiteral("Username"), QStringLiteral("ali"));
        SettingsStore::write(SettingsStore::kUser, QStringLiteral("Password"), QStringLiteral("old"));
        Form16* settings = forms().get<Form16>();
        ModalAnswerer answer(QStringLiteral("تأييد"));
        settings->Command5->click();
        QCOMPARE(answer.seen().text, QStringLiteral("رمز عبور نرم افزار با موفقيت حذف شد"));
        QCOMPARE(answer.seen().title, kSecurityTitle);
        QVERIFY(settings->Text2->text().isEmpty() && settings->Text3->text().isEmpty());
        QVERIFY(settings->Command4->isEnabled());
        QVERIFY(!settings->Command5->isEnabled());
        QCOMPARE(readUser(QStringLiteral("Username")), QString());
        QCOMPARE(readUser(QStringLiteral("Password")), QString());
    }

    void typingEnablesRemoveButton()
    {
        Form16* settings = forms().get<Form16>();
        QVERIFY(!settings->Command5->isEnabled());
        QTest::keyClicks(settings->Text2, QStringLiteral("a"));
        QVERIFY(settings->Command5->isEnabled());
        QTest::keyClicks(settings->Text3, QStringLiteral("b"));
        settings->Text2->clear();
        QVERIFY(settings->Command5->isEnabled());
        settings->Text3->clear();
        QVERIFY(!settings->Command5->isEnabled());
        QVERIFY(settings->Command4->isEnabled());
    }

    void storedKeyboardOption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("nothing") << QString() << false;
        QTest::newRow("not a number") << QStringLiteral("yes") << false;
    }
    void storedKeyboardOption()
    {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);
        SettingsStore::write(SettingsStore::kDesktop, QStringLiteral("Key"), stored);
        Form16* settings = forms().get<Form16>();
        QCOMPARE(settings->Check1->isChecked(), ticked);
        QCOMPARE(keyboardLayout().persianActive(), ticked);
        // Loading writes nothing but what the tick handler writes.
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("Key")), stored);

        keyboardLayout().activate(QStringLiteral("1"));
        settings->applyKeyboardOption();
        QCOMPARE(keyboardLayout().persianActive(), ticked);
    }

    void tickingSwitchesTheKeyboardAtOnce()
    {
        Form16* settings = forms().get<Form16>();
        settings->show();
        settings->Check1->click();
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("Key")), QStringLiteral("1"));
        QVERIFY(keyboardLayout().persianActive());
        settings->XTab1->setCurrentIndex(1);
        QTest::keyClicks(settings->Text2, QStringLiteral("ugd"));
        QCOMPARE(settings->Text2->text(), QStringLiteral("علی"));

        settings->XTab1->setCurrentIndex(0);
        settings->Check1->click();
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, QStringLiteral("Key")), QStringLiteral("0"));
        QVERIFY(!keyboardLayout().persianActive());
        settings->Text2->clear();
        QTest::keyClicks(settings->Text2, QStringLiteral("ugd"));
        QCOMPARE(settings->Text2->text(), QStringLiteral("ugd"));
    }

    void backgroundPictureStep_data()
    {
        QTest::addColumn<QString>("storedName"); // empty: none stored; "-": a file that is gone
        QTest::addColumn<QSize>("shown");
        QTest::newRow("default picture") << QString() << QSize(40, 30);
        QTest::newRow("chosen picture") << QStringLiteral("mine.bmp") << QSize(20, 10);
        QTest::newRow("chosen picture gone") << QStringLiteral("-") << QSize();
    }
    void backgroundPictureStep()
    {
        QFETCH(QString, storedName);
        QFETCH(QSize, shown);
        savePicture(programFile(QStringLiteral("corvanta.jpg")), {40, 30});
        QString stored;
        if (storedName == QStringLiteral("-"))
            stored = m_program->folder() + QStringLiteral("/gone.jpg");
        else if (!storedName.isEmpty())
            stored = savePicture(m_program->folder() + QLatin1Char('/') + storedName, {20, 10});
        SettingsStore::write(SettingsStore::kDesktop, kPictureKey, stored);

        Form1 mainWindow;
        mainWindow.showPicture(forms().get<Form16>()->backgroundPicturePath());
        QCOMPARE(shownPictureSize(mainWindow), shown);
    }

    void openSaveAndRemovePicture()
    {
        savePicture(programFile(QStringLiteral("corvanta.jpg")), {40, 30});
        const QString chosen = savePicture(m_program->folder() + QStringLiteral("/تصوير من.jpg"), {20, 10});
        Form1* mainWindow = forms().get<Form1>();
        QCOMPARE(shownPictureSize(*mainWindow), QSize(40, 30));
        Form16* settings = forms().get<Form16>();

        // Cancelling the first dialog leaves the box empty.
        CommonDialog::setAnswerForTests([](const QString&, const QString&) { return std::optional<QString>(); });
        settings->Command2->click();
        QCOMPARE(settings->Text1->text(), QString());

        CommonDialog::setAnswerForTests([&](const QString& mode, const QString&) {
            return mode == QStringLiteral("open") ? std::optional<QString>(chosen) : std::nullopt;
        });
        settings->Command2->click();
        QCOMPARE(settings->Text1->text(), chosen);
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, kPictureKey), QString());
        QCOMPARE(shownPictureSize(*mainWindow), QSize(40, 30));

        settings->Command3->click();
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, kPictureKey), chosen);
        QCOMPARE(shownPictureSize(*mainWindow), QSize(20, 10));

        // A cancelled dialog now keeps the file chosen last.
        CommonDialog::setAnswerForTests([](const QString&, const QString&) { return std::optional<QString>(); });
        settings->Text1->clear();
        settings->Command2->click();
        QCOMPARE(settings->Text1->text(), chosen);

        settings->Command6->click();
        QCOMPARE(settings->Text1->text(), QString());
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, kPictureKey), QString());
        QCOMPARE(shownPictureSize(*mainWindow), QSize(40, 30));

        // Saving a path that is no picture leaves the main window's picture as it was.
        settings->Text1->setText(m_program->folder() + QStringLiteral("/gone.jpg"));
        settings->Command3->click();
        QCOMPARE(shownPictureSize(*mainWindow), QSize(40, 30));
    }

    // Return and the close box hide the window; what was typed stays for the next showing and
    // nothing is stored.
    void returnAndCloseBoxKeepUnsavedEdits()
    {
        Form16* settings = forms().get<Form16>();
        QStringList seen;
        for (bool closeBox : {false, true}) {
            ModalAnswerer answer([&](QWidget* window) {
                auto* shown = qobject_cast<Form16*>(window);
                seen << shown->Text1->text();
                shown->Text1->setText(QStringLiteral("/somewhere/picture.jpg"));
                if (closeBox)
                    window->close();
                else
                    clickButton(shown, QStringLiteral("بازگشت"));
            });
            forms().showModal<Form16>();
            QVERIFY(answer.done());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(forms().ifLoaded<Form16>(), settings);
            QVERIFY(!settings->isVisible());
        }
        QCOMPARE(seen, (QStringList{QString(), QStringLiteral("/somewhere/picture.jpg")}));
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, kPictureKey), QString());
    }
};

QTEST_MAIN(TestSoftwareSettings)
#include "tst_software_settings.moc"
