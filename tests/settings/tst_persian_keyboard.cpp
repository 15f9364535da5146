#include "settings/persian_keyboard.h"
#include "support/test_support.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

// Typing into real text boxes while the in-program Persian layout is on or off.
class TestPersianKeyboard : public QObject
{
    Q_OBJECT

    static void typeLatin(QWidget* box, const QString& keys)
    {
        for (QChar c : keys) {
            const bool upper = c.isUpper();
            QTest::keyClick(box, c.toLatin1(), upper ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }

private Q_SLOTS:
    void init() { keyboardLayout().activate(QStringLiteral("1")); }
    void cleanup() { keyboardLayout().activate(QStringLiteral("1")); }

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
        QVERIFY(keyboardLayout().persianActive());
        typeLatin(&box, keys);
        QCOMPARE(box.text(), typed);

        keyboardLayout().activate(QStringLiteral("1"));
        QVERIFY(!keyboardLayout().persianActive());
        box.clear();
        typeLatin(&box, keys);
        QCOMPARE(box.text(), keys);
    }

    void shiftSpaceTypesZeroWidthNonJoiner()
    {
        QPlainTextEdit box;
        keyboardLayout().activate(KeyboardLayout::kPersian);
        typeLatin(&box, QStringLiteral("ld"));
        QTest::keyClick(&box, Qt::Key_Space, Qt::ShiftModifier);
        typeLatin(&box, QStringLiteral("o,hil"));
        QCOMPARE(box.toPlainText(), QStringLiteral("می\u200Cخواهم"));
    }

    void nonLatinTextAndShortcutsPassUnchanged()
    {
        QLineEdit box;
        keyboardLayout().activate(KeyboardLayout::kPersian);
        // A key that already types Persian (a desktop layout of its own) is left alone.
        QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QStringLiteral("ژ"), Qt::NoModifier);
        QCOMPARE(box.text(), QStringLiteral("ژ"));
        // Ctrl+A still selects everything; the next key replaces the selection.
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box.selectedText(), QStringLiteral("ژ"));
        typeLatin(&box, QStringLiteral("f"));
        QCOMPARE(box.text(), QStringLiteral("ب"));
    }

    void readOnlyBoxesAndInputMethodText()
    {
        keyboardLayout().activate(KeyboardLayout::kPersian);
        QLineEdit box;
        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("sghl"));
        QCoreApplication::sendEvent(&box, &committed);
        QCOMPARE(box.text(), QStringLiteral("سلام"));

        QVERIFY(PersianKeyboard::isTextBox(&box));
        box.setReadOnly(true);
        QVERIFY(!PersianKeyboard::isTextBox(&box));
    }

    void altShiftSwitchesWhileTyping()
    {
        QLineEdit box;
        auto* keyboard = dynamic_cast<PersianKeyboard*>(&keyboardLayout());
        QVERIFY(keyboard);
        QSignalSpy switched(keyboard, &PersianKeyboard::activeChanged);

        typeLatin(&box, QStringLiteral("ab"));
        QTest::keyClick(&box, Qt::Key_Shift, Qt::AltModifier);
        QVERIFY(keyboardLayout().persianActive());
        typeLatin(&box, QStringLiteral("ab"));
        // Alt+Shift with another key is a shortcut, not the switch.
        QWidget elsewhere;
        QTest::keyClick(&elsewhere, Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier);
        QVERIFY(keyboardLayout().persianActive());
        // Shift alone (a capital letter) does not switch either.
        QTest::keyClick(&box, Qt::Key_Shift);
        QVERIFY(keyboardLayout().persianActive());
        QTest::keyClick(&box, Qt::Key_Alt, Qt::ShiftModifier);
        QVERIFY(!keyboardLayout().persianActive());
        typeLatin(&box, QStringLiteral("ab"));
        QCOMPARE(box.text(), QStringLiteral("abشذab"));
        QCOMPARE(switched.count(), 2);
    }
};

QTEST_MAIN(TestPersianKeyboard)
#include "tst_persian_keyboard.moc"
