// The program's one message box: Persian captions, right to left, the classic style encoding
// and the classic answer ids.
#include "support/test_support.h"
#include "ui/persian_message_box.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>

namespace {

// The button captions the user reads, by answer id: the test's own copy, so that a caption
// changed by mistake fails here.
QString caption(int id)
{
    static const QMap<int, QString> captions = {
        {MsgBoxId::Ok, QStringLiteral("تأييد")},       {MsgBoxId::Cancel, QStringLiteral("لغو")},
        {MsgBoxId::Abort, QStringLiteral("قطع عمل")},  {MsgBoxId::Retry, QStringLiteral("سعي مجدد")},
        {MsgBoxId::Ignore, QStringLiteral("صرف نظر")}, {MsgBoxId::Yes, QStringLiteral("بله")},
        {MsgBoxId::No, QStringLiteral("نه")}};
    return captions.value(id);
}

// What an answered box showed.
struct Shown
{
    QStringList buttonsRightToLeft;
    QString defaultButton, text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QSize iconPixels;
    bool rightToLeft = false;
};

// Shows a box and answers it with `action`, recording what it looked like first; -1 when no
// box came.
int showAndAnswer(int style, const std::function<void(QMessageBox*)>& action, Shown* shown = nullptr,
                  const QString& prompt = QStringLiteral("?"), const QString& title = QStringLiteral("t"))
{
    Shown seen;
    ModalAnswerer answerer([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(), [box](QAbstractButton* a, QAbstractButton* b) {
            return a->mapTo(box, QPoint()).x() > b->mapTo(box, QPoint()).x();
        });
        for (QAbstractButton* b : buttons)
            seen.buttonsRightToLeft << b->text();
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.iconPixels = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))->pixmap().size();
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        seen.rightToLeft = box->layoutDirection() == Qt::RightToLeft &&
                           (QStyle::visualAlignment(label->layoutDirection(), label->alignment()) & Qt::AlignRight);
        action(box);
    });
    const int id = PersianMsgBox(nullptr, prompt, style, title);
    if (shown)
        *shown = seen;
    return answerer.done() ? id : -1;
}

std::function<void(QMessageBox*)> click(const QString& caption)
{
    return [caption](QMessageBox* box) { QVERIFY(clickButton(box, caption)); };
}

} // namespace

class TestPersianMessageBox : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyButtonSetAnswersWithItsIds_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("0 OK") << 0 << QList<int>{1};
        QTest::newRow("1 OK/Cancel") << 1 << QList<int>{1, 2};
        QTest::newRow("2 Abort/Retry/Ignore") << 2 << QList<int>{3, 4, 5};
        QTest::newRow("3 Yes/No/Cancel") << 3 << QList<int>{6, 7, 2};
        QTest::newRow("4 Yes/No") << 4 << QList<int>{6, 7};
        QTest::newRow("5 Retry/Cancel") << 5 << QList<int>{4, 2};
    }
    void everyButtonSetAnswersWithItsIds()
    {
        QFETCH(int, set);
        QFETCH(QList<int>, ids); // right to left, as read
        QStringList captions;
        for (int id : ids)
            captions << caption(id);
        for (qsizetype i = 0; i < captions.size(); ++i) {
            Shown shown;
            QCOMPARE(showAndAnswer(set, click(captions[i]), &shown), ids[i]);
            QCOMPARE(shown.buttonsRightToLeft, captions);
            QCOMPARE(shown.defaultButton, captions.first());
        }
    }

    // The icon is drawn at the pixels of the screen it shows on, whatever its scale.
    void iconsAndDefaultButtons_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("defaultButton");
        QTest::newRow("48 refusal") << 48 << int(QMessageBox::Warning) << caption(MsgBoxId::Ok);
        QTest::newRow("64 success") << 64 << int(QMessageBox::Information) << caption(MsgBoxId::Ok);
        QTest::newRow("16 stop") << 16 << int(QMessageBox::Critical) << caption(MsgBoxId::Ok);
        QTest::newRow("36 question, yes/no") << 36 << int(QMessageBox::Question) << caption(MsgBoxId::Yes);
        QTest::newRow("+256 second default") << 4 + 256 << int(QMessageBox::NoIcon) << caption(MsgBoxId::No);
        QTest::newRow("+512 third default")
            << 3 + 48 + 512 << int(QMessageBox::Warning) << caption(MsgBoxId::Cancel);
        QTest::newRow("+512 without a third")
            << 4 + 512 << int(QMessageBox::NoIcon) << caption(MsgBoxId::Yes);
    }
    void iconsAndDefaultButtons()
    {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(QString, defaultButton);
        Shown shown;
        showAndAnswer(style, [](QMessageBox* box) { box->buttons().first()->click(); }, &shown);
        QCOMPARE(int(shown.icon), icon);
        QCOMPARE(shown.defaultButton, defaultButton);
        if (icon != QMessageBox::NoIcon) {
            const int size = QApplication::style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
            QCOMPARE(shown.iconPixels, QSize(size, size) * qApp->devicePixelRatio());
        }
    }

    // Escape (or the close box) answers Cancel where there is one, No in a yes/no box, the
    // single OK; a yes/no question never ends in a yes by accident; an Abort/Retry/Ignore box
    // must be answered. Texts show as given, blanks kept, right to left.
    void escapeAndTexts()
    {
        const auto escape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
        QCOMPARE(showAndAnswer(64, escape), 1);
        QCOMPARE(showAndAnswer(1, escape), 2);
        QCOMPARE(showAndAnswer(52, escape), 7);
        bool stillOpen = false;
        QCOMPARE(showAndAnswer(2,
                               [&](QMessageBox* box) {
                                   QTest::keyClick(box, Qt::Key_Escape);
                                   box->close();
                                   stillOpen = box->isVisible();
                                   clickButton(box, caption(MsgBoxId::Ignore));
                               }),
                 5);
        QVERIFY(stillOpen);

        Shown shown;
        const QString prompt = QStringLiteral("  متن با فاصله در دو سو  ");
        showAndAnswer(64, click(caption(MsgBoxId::Ok)), &shown, prompt, QStringLiteral(" عنوان "));
        QCOMPARE(shown.text, prompt);
        QCOMPARE(shown.title, QStringLiteral(" عنوان "));
        QVERIFY(shown.rightToLeft);
    }
};

QTEST_MAIN(TestPersianMessageBox)
#include "tst_persian_message_box.moc"
