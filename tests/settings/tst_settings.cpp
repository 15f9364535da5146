// The settings windows and the login: the invoice texts (Form15), the software settings and the
// login they hold (Form16, Form18), the in-program Persian keyboard, and which edge text starts at.
#include "app/login_window.h"
#include "app/main_window.h"
#include "orders/invoice_preview.h"
#include "orders/invoice_report.h"
#include "orders/order_list.h"
#include "settings/invoice_settings.h"
#include "settings/persian_keyboard.h"
#include "settings/software_settings.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using fixtures::kOk;
using fixtures::savePicture;

namespace {

const QString kSecurityTitle = QStringLiteral("امنيت نرم افزار");
const QString kRefused = QStringLiteral("کاربر گرامي نام کاربري و رمز عبور شما فاقد اعتبار مي باشد");
const QString kLongName = QStringLiteral("محمدرضا کريمي");

QString stored(const QString& section, const QString& key)
{
    return SettingsStore::read(section, key);
}

void storeLogin(const QString& user, const QString& password)
{
    SettingsStore::write(SettingsStore::kUser, SettingsStore::kUserKey, user);
    SettingsStore::write(SettingsStore::kUser, SettingsStore::kPasswordKey, password);
}

// The program closed and started again: every window loads afresh from the stored settings.
void restart()
{
    forms().unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Presses "ورود" and answers what comes: the refusal message, or the main window (which the
// answer closes, ending the program).
SeenModal logIn(Form18* login, const QString& user, const QString& password)
{
    login->Text1->setText(user);
    login->Text2->setText(password);
    ModalAnswerer answer([](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("Form1"))
            modal->close();
        else
            clickButton(modal, kOk);
    });
    login->Command1->click();
    return answer.seen();
}

// Sets the login through the security tab's "ثبت رمز عبور"; the message it shows.
QString setLogin(Form16* settings, const QString& user, const QString& password)
{
    settings->Text2->setText(user);
    settings->Text3->setText(password);
    ModalAnswerer answer(kOk);
    settings->Command4->click();
    return answer.seen().title + QLatin1Char('|') + answer.seen().text;
}

// The first and last column of a box with dark pixels (the text's ink), inside its frame.
std::pair<int, int> inkColumns(QWidget* box)
{
    const QImage image = box->grab().toImage();
    int first = -1;
    int last = -1;
    for (int x = 3; x < image.width() - 3; ++x)
        for (int y = 3; y < image.height() - 3; ++y)
            if (qGray(image.pixel(x, y)) < 110) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

// A text box of a window by its number, and its text, one line or several.
QWidget* box(QWidget* window, int number)
{
    return window->findChild<QWidget*>(QStringLiteral("Text%1").arg(number));
}

const char* textProperty(QWidget* box)
{
    return box->inherits("QPlainTextEdit") ? "plainText" : "text";
}

QSize shownPictureSize(const Form1& mainWindow)
{
    const QPixmap shown = mainWindow.Image1->pixmap();
    return shown.isNull() ? QSize() : shown.size();
}

void typeLatin(QWidget* box, const QString& keys)
{
    for (QChar c : keys)
        QTest::keyClick(box, c.toLatin1(), c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
}

} // namespace

class TestSettings : public QObject
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
        CommonDialog::setAnswerForTests(nullptr);
    }

    // Persian text starts at the right edge of its box, a path at the left.
    void textStartsAtItsEdge_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromRight");
        QTest::newRow("login user name") << "Form18" << 1 << kLongName << true;
        QTest::newRow("security user name") << "Form16" << 2 << kLongName << true;
        QTest::newRow("picture path") << "Form16" << 1 << "/home/shop/پس زمينه.jpg" << false;
        QTest::newRow("business title") << "Form15" << 1 << kLongName << true;
        QTest::newRow("address") << "Form15" << 3 << kLongName << true;
        QTest::newRow("notes") << "Form15" << 4 << kLongName << true;
        QTest::newRow("signature") << "Form15" << 6 << kLongName << true;
        QTest::newRow("logo path") << "Form15" << 7 << "/home/shop/لوگو.jpg" << false;
    }
    void textStartsAtItsEdge()
    {
        QFETCH(QString, window);
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(bool, fromRight);
        storeLogin(QStringLiteral("x"), QStringLiteral("y"));
        QWidget* form = window == QStringLiteral("Form18")   ? static_cast<QWidget*>(forms().get<Form18>())
                        : window == QStringLiteral("Form16") ? static_cast<QWidget*>(forms().get<Form16>())
                                                             : forms().get<Form15>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        if (auto* settings = qobject_cast<Form16*>(form))
            settings->XTab1_Click(box == 2 ? 1 : 0);
        QWidget* control = ::box(form, box);
        QVERIFY(control && control->isVisible());
        control->setProperty(textProperty(control), text);
        control->clearFocus();
        if (auto* lines = qobject_cast<QPlainTextEdit*>(control))
            control = lines->viewport();
        const auto [first, last] = inkColumns(control);
        const int width = control->width();
        const QByteArray seen = QByteArray::number(first) + ".." + QByteArray::number(last) + " of " + QByteArray::number(width);
        QVERIFY2(first >= 0, seen);
        if (fromRight)
            QVERIFY2(last > width - 16 && first > width / 3, seen);
        else
            QVERIFY2(first < 16 && last < width * 2 / 3, seen);
    }

    // Save stores all seven boxes, empty ones too; a freshly loaded window reads them back.
    void invoiceTextsRoundTrip()
    {
        const QStringList keys = {SettingsStore::kBusinessTitle, SettingsStore::kInvoiceTitle, SettingsStore::kAddress,
                                  SettingsStore::kNotes, SettingsStore::kCustomerSignature,
                                  SettingsStore::kSellerSignature, SettingsStore::kLogoPath};
        const QStringList values = {QStringLiteral("سروندو هاست"), QStringLiteral("فاکتور فروش خدمات"),
                                    QStringLiteral("تهران، خيابان آزادي،\nپلاک ۱۲"), QStringLiteral("سطر اول\nسطر دوم"),
                                    QStringLiteral("امضاي خريدار"), QStringLiteral("مهر و امضاي فروشنده"),
                                    QStringLiteral("/tmp/لوگو.jpg")};
        const auto boxes = [](Form15* form) {
            QStringList texts;
            for (int i = 1; i <= 7; ++i)
                texts << box(form, i)->property(textProperty(box(form, i))).toString();
            return texts;
        };
        Form15* form = forms().get<Form15>();
        QCOMPARE(boxes(form), QStringList(7, QString()));
        for (int i = 1; i <= 7; ++i)
            box(form, i)->setProperty(textProperty(box(form, i)), values[i - 1]);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(stored(SettingsStore::kPrint, keys[i]), values[i]);

        restart();
        form = forms().get<Form15>();
        QCOMPARE(boxes(form), values);
        form->Text1->clear();
        form->Command1_Click();
        QCOMPARE(stored(SettingsStore::kPrint, keys[0]), QString());
        QCOMPARE(stored(SettingsStore::kPrint, keys[1]), values[1]);

        // The logo dialog: cancelled before any pick it empties the box, after one it keeps
        // the last pick; nothing is stored until saved.
        std::optional<QString> answer;
        CommonDialog::setAnswerForTests([&](const QString&, const QString&) { return answer; });
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(form->Text7->text(), QString());
        answer = QStringLiteral("/pictures/first.JPG");
        form->Command3_Click();
        answer = std::nullopt;
        form->Command3_Click();
        QCOMPARE(form->Text7->text(), QStringLiteral("/pictures/first.JPG"));
        QCOMPARE(stored(SettingsStore::kPrint, keys[6]), values[6]);
    }

    void backKeepsUnsavedEditsWhilePrintingUsesStoredOnes()
    {
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kBusinessTitle, QStringLiteral("عنوان ثبت شده"));
        Form15* form = forms().get<Form15>();
        form->Text1->setText(QStringLiteral("عنوان ثبت نشده"));
        form->Command2->click();
        QCOMPARE(forms().get<Form15>(), form);
        QCOMPARE(form->Text1->text(), QStringLiteral("عنوان ثبت نشده"));

        QVERIFY(fixtures::insert(QStringLiteral("ss"), {{"name", QStringLiteral("علي")}}) > 0);
        QString printedTitle;
        setInvoicePreviewForTests([&](const DataReport1& report, const QString&) {
            printedTitle = report.control(QStringLiteral("Section4"), QStringLiteral("Label1"))->caption;
        });
        forms().get<Form14>()->Command1_Click();
        setInvoicePreviewForTests(nullptr);
        QCOMPARE(printedTitle, QStringLiteral("عنوان ثبت شده"));
    }

    void loadShowsStoredLogin_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("no login") << QString() << QString();
        QTest::newRow("login") << QStringLiteral("مدير") << m_hash;
        QTest::newRow("user name only") << QStringLiteral("x") << QString();
    }
    // The start: with no login the main window opens at once; the settings window, loaded hidden,
    // holds the login, a stored password as a fixed short mask (never a mask of its length).
    void loadShowsStoredLogin()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        storeLogin(user, password);
        const bool loginSet = !user.isEmpty() || !password.isEmpty();
        QCOMPARE(forms().get<Form18>()->isVisible(), loginSet);
        QCOMPARE(forms().isLoaded<Form1>(), !loginSet);
        Form16* settings = forms().get<Form16>();
        QVERIFY(!settings->isVisible());
        QCOMPARE(settings->Text2->text(), user);
        QCOMPARE(settings->Text3->displayText(), password.isEmpty() ? QString() : QStringLiteral("@@@@@@@@"));
        QCOMPARE(settings->Command4->isEnabled(), !loginSet);
        QCOMPARE(settings->Command5->isEnabled(), loginSet);
    }

    void setPasswordNeedsBothTexts_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("no user name") << QString() << "secret" << QStringLiteral("کاربر گرامي لطفآ نام کاربري را درست وارد کنيد");
        QTest::newRow("no password") << "ali" << QString() << QStringLiteral("کاربر گرامي لطفآ رمز عبور را درست وارد کنيد");
    }
    void setPasswordNeedsBothTexts()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, message);
        Form16* settings = forms().get<Form16>();
        QCOMPARE(setLogin(settings, user, password), kSecurityTitle + QLatin1Char('|') + message);
        QVERIFY(settings->Command4->isEnabled());
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kUserKey), QString());
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kPasswordKey), QString());
    }

    // The login set on the security tab is stored as a hash; after a restart the tab shows a
    // fixed mask, saving it untouched keeps the hash, and the same login still opens the program.
    void loginSetSavedAgainAndUsedAfterRestart()
    {
        const QString password = QStringLiteral("رمز 1");
        QCOMPARE(setLogin(forms().get<Form16>(), QStringLiteral("Ali "), password),
                 kSecurityTitle + QStringLiteral("|نرم افزار با موفقيت رمز گذاري شد"));
        const QString hash = stored(SettingsStore::kUser, SettingsStore::kPasswordKey);
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kUserKey), QStringLiteral("Ali "));
        QVERIFY(LoginPassword::isHash(hash) && !hash.contains(password));
        QVERIFY(LoginPassword::matches(hash, password));
        QVERIFY(!LoginPassword::matches(hash, password + QLatin1Char(' ')));
        QVERIFY(!LoginPassword::matches(hash, hash));

        restart();
        Form16* settings = forms().get<Form16>();
        QCOMPARE(settings->Text3->displayText(), QStringLiteral("@@@@@@@@"));
        {
            ModalAnswerer answer(kOk);
            settings->Command4_Click();
        }
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kPasswordKey), hash);

        restart();
        Form18* login = forms().get<Form18>();
        QVERIFY(login->isVisible());
        QCOMPARE(logIn(login, QStringLiteral("Ali "), password).objectName, QStringLiteral("Form1"));

        // A key typed into the mask starts a new password instead of adding to the mask.
        settings = forms().get<Form16>();
        QTest::keyClicks(settings->Text3, QStringLiteral("ab"));
        QCOMPARE(settings->Text3->text(), QStringLiteral("ab"));
    }

    void removePasswordThenTypingEnablesRemove()
    {
        storeLogin(QStringLiteral("ali"), QStringLiteral("old"));
        Form16* settings = forms().get<Form16>();
        {
            ModalAnswerer answer(kOk);
            settings->Command5->click();
            QCOMPARE(answer.seen().text, QStringLiteral("رمز عبور نرم افزار با موفقيت حذف شد"));
        }
        QVERIFY(settings->Text2->text().isEmpty() && settings->Text3->text().isEmpty());
        QVERIFY(settings->Command4->isEnabled() && !settings->Command5->isEnabled());
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kUserKey), QString());
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kPasswordKey), QString());

        QTest::keyClicks(settings->Text2, QStringLiteral("a"));
        QVERIFY(settings->Command5->isEnabled());
        QTest::keyClicks(settings->Text3, QStringLiteral("b"));
        settings->Text2->clear();
        QVERIFY(settings->Command5->isEnabled());
        settings->Text3->clear();
        QVERIFY(!settings->Command5->isEnabled());
    }

    // A settings file that cannot be written: setting or removing the login, and saving the
    // invoice texts, say so instead of reporting success, and every stored value stays.
    void unwritableSettingsAreToldAndNothingChanges()
    {
        storeLogin(QStringLiteral("ali"), m_hash);
        SettingsStore::write(SettingsStore::kPrint, SettingsStore::kAddress, QStringLiteral("تهران"));
        const QString file = SettingsStore::fileName();
        QVERIFY(QFile::rename(file, file + QStringLiteral(".kept")));
        QVERIFY(QDir().mkdir(file)); // a folder where the file should be: not even root can write it
        QVERIFY(QFile::copy(file + QStringLiteral(".kept"), file + QStringLiteral("/x")));

        Form16* settings = forms().get<Form16>();
        const QString told = setLogin(settings, QStringLiteral("reza"), QStringLiteral("new"));
        QVERIFY2(told.startsWith(kSecurityTitle + QStringLiteral("|کاربر گرامي تنظيمات ذخيره نشد")), qPrintable(told));
        {
            ModalAnswerer answer(kOk);
            settings->Command5->click();
            QVERIFY(answer.seen().text.contains(QStringLiteral("تنظيمات ذخيره نشد")));
        }
        Form15* invoice = forms().get<Form15>();
        invoice->Text3->setPlainText(QStringLiteral("شيراز"));
        {
            ModalAnswerer answer(kOk);
            invoice->Command1->click();
            QVERIFY(answer.seen().text.contains(QStringLiteral("تنظيمات ذخيره نشد")));
        }

        QVERIFY(QDir(file).removeRecursively());
        QVERIFY(QFile::rename(file + QStringLiteral(".kept"), file));
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kUserKey), QStringLiteral("ali"));
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kPasswordKey), m_hash);
        QCOMPARE(stored(SettingsStore::kPrint, SettingsStore::kAddress), QStringLiteral("تهران"));
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
        SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kKeyboardKey, stored);
        Form16* settings = forms().get<Form16>();
        QCOMPARE(settings->Check1->isChecked(), ticked);
        QCOMPARE(keyboardLayout().persianActive(), ticked);
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kKeyboardKey), stored);
        keyboardLayout().activate(QStringLiteral("1"));
        settings->applyKeyboardOption();
        QCOMPARE(keyboardLayout().persianActive(), ticked);
        // A click stores the new value and switches the keyboard at once.
        settings->Check1->click();
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kKeyboardKey), ticked ? "0" : "1");
        QCOMPARE(keyboardLayout().persianActive(), !ticked);
    }

    // Only the selected tab's controls show, a page added later included; the window grows for
    // a page larger than the tabs, the other pages' controls keeping to the right edge.
    void addedTabPage()
    {
        Form16* settings = forms().get<Form16>();
        auto* page = new QWidget;
        page->setMinimumSize(600, 400);
        auto* box = new QLineEdit(page);
        const int rightGap = settings->width() - settings->Text2->x();
        settings->addTabPage(page, QStringLiteral("پايگاه داده"));
        settings->show();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        const int added = settings->XTab1->indexOf(page);
        QCOMPARE(added, settings->XTab1->count() - 1);
        for (int tab : {added, 1, 0}) {
            settings->XTab1_Click(tab);
            QCOMPARE(box->isVisible(), tab == added);
            QCOMPARE(settings->Text2->isVisible(), tab == 1);
            QCOMPARE(settings->Text1->isVisible(), tab == 0);
        }
        QVERIFY(page->width() >= 600 && page->height() >= 400);
        QVERIFY(settings->Command1->geometry().top() > settings->XTab1->geometry().bottom());
        QCOMPARE(settings->width() - settings->Text2->x(), rightGap);
    }

    // The main window shows the default picture, a chosen one once saved (also at the next start),
    // the default again once removed; a saved path that is no picture leaves the picture as it
    // was, and at the next start leaves the picture area empty.
    void chooseSaveAndRemovePicture()
    {
        savePicture(programFile(QStringLiteral("corvanta.jpg")), {40, 30});
        const QString chosen = savePicture(m_program->folder() + QStringLiteral("/تصوير من.jpg"), {20, 10});
        const auto shown = [] { return shownPictureSize(*forms().get<Form1>()); };
        QCOMPARE(shown(), QSize(40, 30));
        Form16* settings = forms().get<Form16>();
        CommonDialog::setAnswerForTests([&](const QString&, const QString&) { return std::optional<QString>(chosen); });
        settings->Command2->click();
        QCOMPARE(settings->Text1->text(), chosen);
        QCOMPARE(shown(), QSize(40, 30));
        settings->Command3->click();
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kPictureKey), chosen);
        QCOMPARE(shown(), QSize(20, 10));
        restart();
        QCOMPARE(shown(), QSize(20, 10));
        settings = forms().get<Form16>();
        settings->Command6->click();
        QCOMPARE(settings->Text1->text() + SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kPictureKey), QString());
        QCOMPARE(shown(), QSize(40, 30));
        settings->Text1->setText(m_program->folder() + QStringLiteral("/gone.jpg"));
        settings->Command3->click();
        QCOMPARE(shown(), QSize(40, 30));
        restart();
        QCOMPARE(shown(), QSize());
    }

    // Return and the close box hide the window; what was typed stays and nothing is stored.
    void returnAndCloseBoxKeepUnsavedEdits()
    {
        Form16* settings = forms().get<Form16>();
        QStringList seen;
        for (bool closeBox : {false, true}) {
            ModalAnswerer answer([&](QWidget* window) {
                seen << settings->Text1->text();
                settings->Text1->setText(QStringLiteral("/somewhere/picture.jpg"));
                closeBox ? void(window->close()) : void(clickButton(window, fixtures::kBack));
            });
            forms().showModal<Form16>();
            QVERIFY(answer.done());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(forms().ifLoaded<Form16>(), settings);
        }
        QCOMPARE(seen, (QStringList{QString(), QStringLiteral("/somewhere/picture.jpg")}));
        QCOMPARE(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kPictureKey), QString());
    }

    void loginAttempts_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("correct") << "ali" << "Pass word" << true;
        QTest::newRow("wrong password") << "ali" << "Pass Word" << false;
        QTest::newRow("user name case") << "Ali" << "Pass word" << false;
        QTest::newRow("password trailing blank") << "ali" << "Pass word " << false;
        QTest::newRow("the stored hash typed") << "ali" << m_hash << false;
    }
    void loginAttempts()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        storeLogin(QStringLiteral("ali"), m_hash);
        Form18* login = forms().get<Form18>();
        QVERIFY(login->isVisible() && !forms().isLoaded<Form1>());
        QCOMPARE(login->Text2->echoMode(), QLineEdit::Password);
        const SeenModal seen = logIn(login, user, password);
        QCOMPARE(seen.objectName == QStringLiteral("Form1"), accepted);
        QCOMPARE(m_program->endCount, accepted ? 1 : 0);
        if (!accepted) {
            QCOMPARE(seen.text, kRefused);
            QCOMPARE(seen.title, QStringLiteral("کاربر غيره مجاز"));
            QCOMPARE(login->Text1->text() + login->Text2->text(), user + password);
            QVERIFY(login->isVisible());
        }
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kPasswordKey), m_hash);
    }

    // A login typed on the Persian layout and kept in plain text by an earlier version: refused
    // when wrong, accepted when right, and then stored as a hash.
    void plainPasswordOfAnEarlierVersionIsUpgraded()
    {
        SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kKeyboardKey, QStringLiteral("1"));
        storeLogin(QStringLiteral("علی"), QStringLiteral("۱۳۶۲"));
        Form18* login = forms().get<Form18>();
        QVERIFY(keyboardLayout().persianActive());
        QCOMPARE(logIn(login, QStringLiteral("علی"), QStringLiteral("1362")).text, kRefused);
        QCOMPARE(stored(SettingsStore::kUser, SettingsStore::kPasswordKey), QStringLiteral("۱۳۶۲"));
        login->Text1->clear();
        login->Text2->clear();
        QTest::keyClicks(login->Text1, QStringLiteral("ugd"));
        QTest::keyClicks(login->Text2, QStringLiteral("1362"));
        ModalAnswerer answer([](QWidget* modal) { modal->close(); });
        login->Command1->click();
        QCOMPARE(answer.seen().objectName, QStringLiteral("Form1"));
        const QString hash = stored(SettingsStore::kUser, SettingsStore::kPasswordKey);
        QVERIFY(LoginPassword::isHash(hash) && LoginPassword::matches(hash, QStringLiteral("۱۳۶۲")));
        QCOMPARE(forms().get<Form16>()->Text3->displayText(), QStringLiteral("@@@@@@@@"));
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
        Form18* login = forms().get<Form18>();
        if (closeBox)
            login->close();
        else
            QVERIFY(clickButton(login, QStringLiteral("خروج")));
        QCOMPARE(m_program->endCount, 1);
        QVERIFY(!forms().isLoaded<Form18>() && !forms().isLoaded<Form1>());
    }

    void latinKeysTypePersian_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        // Keheh and yeh, the number row, brackets and the comma key, a blank.
        QTest::newRow("unshifted") << "sghl a;d 1234567890[],m" << QStringLiteral("سلام شکی ۱۲۳۴۵۶۷۸۹۰جچوپ");
        QTest::newRow("shifted, question mark and kaf") << "HCM?Z" << QStringLiteral("آژء؟ك");
    }
    void latinKeysTypePersian()
    {
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QLineEdit box;
        keyboardLayout().activate(KeyboardLayout::kPersian);
        typeLatin(&box, keys);
        QCOMPARE(box.text(), typed);
        keyboardLayout().activate(QStringLiteral("1"));
        box.clear();
        typeLatin(&box, keys);
        QCOMPARE(box.text(), keys);
    }

    // Shift+Space types the zero-width non-joiner; input-method text is mapped too; a key that
    // already types Persian and Ctrl shortcuts pass unchanged; a read-only box is left alone.
    void otherKeysAndInputMethodText()
    {
        keyboardLayout().activate(KeyboardLayout::kPersian);
        QPlainTextEdit notes;
        typeLatin(&notes, QStringLiteral("ld"));
        QTest::keyClick(&notes, Qt::Key_Space, Qt::ShiftModifier);
        typeLatin(&notes, QStringLiteral("o,hil"));
        QCOMPARE(notes.toPlainText(), QStringLiteral("می\u200Cخواهم"));

        QLineEdit box;
        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("sghl"));
        QCoreApplication::sendEvent(&box, &committed);
        QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QStringLiteral("ژ"), Qt::NoModifier);
        QCOMPARE(box.text(), QStringLiteral("سلامژ"));
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        typeLatin(&box, QStringLiteral("f"));
        QCOMPARE(box.text(), QStringLiteral("ب"));
        box.setReadOnly(true);
        QVERIFY(!PersianKeyboard::isTextBox(&box));
    }

    void altShiftSwitchesWhileTyping()
    {
        QLineEdit box;
        QSignalSpy switched(dynamic_cast<PersianKeyboard*>(&keyboardLayout()), &PersianKeyboard::activeChanged);
        typeLatin(&box, QStringLiteral("ab"));
        QTest::keyClick(&box, Qt::Key_Shift, Qt::AltModifier);
        typeLatin(&box, QStringLiteral("ab"));
        // Alt+Shift with another key is a shortcut, and Shift alone a capital: neither switches.
        QWidget elsewhere;
        QTest::keyClick(&elsewhere, Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier);
        QTest::keyClick(&box, Qt::Key_Shift);
        QVERIFY(keyboardLayout().persianActive());
        QTest::keyClick(&box, Qt::Key_Alt, Qt::ShiftModifier);
        typeLatin(&box, QStringLiteral("ab"));
        QCOMPARE(box.text(), QStringLiteral("abشذab"));
        QCOMPARE(switched.count(), 2);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
