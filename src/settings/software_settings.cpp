#include "settings/software_settings.h"

#include "settings/persian_keyboard.h"
#include "settings/server_settings_tab.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "ui/common_dialog.h"
#include "ui/controls.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"
#include "ui/persian_message_box.h"
#include "ui/program_events.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

#include <sodium.h>

#include <algorithm>

namespace {

const QString kSecurityTitle = QStringLiteral("امنيت نرم افزار");

// The controls of a tab stand on its page, placed from the page's corner: the tab control's
// corner less the height of the row of tabs.
constexpr int kTabTop = 120;
constexpr int kTabBar = 360;

// A stored password shows as this many characters, whatever its length; the character itself
// is one no keyboard types, so that what the user types can be told from the mask.
constexpr int kMaskLength = 8;
constexpr QChar kMaskCharacter = QChar(0xE000);

// Text3 shows every character as an at sign.
class AtSignPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return '@';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void setWhiteBackground(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::white);
    widget->setPalette(pal);
}

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

} // namespace

Form16::Form16(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form16"));
    setupWindow(QStringLiteral("      تنظيمات نرم افزار"), 5415, 3375);

    XTab1 = new QTabWidget(this);
    XTab1->setObjectName(QStringLiteral("XTab1"));
    placeTwips(XTab1, 120, kTabTop, 5175, 2655);
    addTabPage(new QWidget, QStringLiteral("    عمومي    "));
    addTabPage(new QWidget, QStringLiteral("     امنيت نرم افزر    "));
    buildGeneralTab(XTab1->widget(0));
    buildSecurityTab(XTab1->widget(1));
    addTabPage(new ServerSettingsTab, ServerSettingsTab::caption());

    Command1 = Controls::button(this, "Command1", QStringLiteral("بازگشت"), 120, 2880, 1215, 375);

    CommonDialog1 = new CommonDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    CommonDialog1->DialogTitle = QStringLiteral("  تصوير مورد نظر خود را با اندازه مناسب انتخاب کنيد");
    CommonDialog1->Filter = QStringLiteral("(*.JPG,*.BMP)|*.JPG;*.BMP");

    connectHandlers();
}

void Form16::buildGeneralTab(QWidget* page)
{
    using namespace Controls;
    constexpr int top = kTabBar;
    Check1 = checkBox(page, "Check1", QStringLiteral("فارسي کردن صفحه کليد هنگام اجراي برنامه "), 1560,
                      600 - top, 3495, 375);
    Label1 =
        fittedLabel(page, "Label1", QStringLiteral("تصوير پشت زمينه صفحه اصلي"), 2880, 1200 - top, 2115, 195);
    Command2 = button(page, "Command2", QStringLiteral("باز کردن تصوير"), 120, 1515 - top, 1095, 375);
    Text1 = latinTextBox(page, "Text1", 1320, 1560 - top, 3735, 315);
    // A path reads left to right and from the left, also when its folder names are Persian.
    Text1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The option and the button take the width their captions need in this font: the option
    // grows away from its box at the right, the path box gives way to the button.
    const QRect option = Check1->geometry();
    Check1->setGeometry(option.adjusted(std::min(0, option.width() - Check1->sizeHint().width()), 0, 0, 0));
    Command2->resize(std::max(Command2->width(), Command2->sizeHint().width()), Command2->height());
    Text1->setGeometry(Text1->geometry().adjusted(
        std::max(0, Command2->geometry().right() + twipsToPixels(105) - Text1->x()), 0, 0, 0));
    // The divider's row of underscores is cut at the page's edges.
    Label2 = label(page, "Label2", QString(61, QLatin1Char('_')), 60, 1800 - top, 4995, 195);
    Label2->setAlignment(Qt::AlignCenter);
    QPalette pal = Label2->palette();
    pal.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
    Label2->setPalette(pal);
    Command6 = button(page, "Command6", QStringLiteral("حذف عکس"), 120, 2160 - top, 1095, 375);
    Command3 = button(page, "Command3", QStringLiteral("ثبت اطلاعات"), 3840, 2160 - top, 1215, 375);
}

void Form16::buildSecurityTab(QWidget* page)
{
    using namespace Controls;
    constexpr int top = kTabBar;
    Label3 = fittedLabel(page, "Label3",
                         QStringLiteral("در اين قسمت از نرم افزار ميتوانيد بر روي نرم افزار رمز قرار دهيد ."),
                         600, 480 - top, 4455, 195);
    Label4 = fittedLabel(page, "Label4", QStringLiteral("نام کاربري :"), 4260, 960 - top, 795, 195);
    Text2 = textBox(page, "Text2", 120, 960 - top, 4095, 315);
    Label5 = fittedLabel(page, "Label5", QStringLiteral("رمز عبور    :"), 4245, 1440 - top, 810, 195);
    Text3 = textBox(page, "Text3", 120, 1440 - top, 4095, 315);
    auto* atSigns = new AtSignPasswordStyle;
    atSigns->setParent(Text3);
    Text3->setStyle(atSigns);
    Text3->setEchoMode(QLineEdit::Password);
    Command5 = button(page, "Command5", QStringLiteral("حذف رمز عبور"), 1680, 1800 - top, 1215, 375);
    Command4 = button(page, "Command4", QStringLiteral("ثبت رمز عبور"), 3000, 1800 - top, 1215, 375);
}

void Form16::connectHandlers()
{
    // A change of the box's value counts as a click, also when the program makes it.
    connect(Check1, &QCheckBox::toggled, this, &Form16::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form16::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form16::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form16::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form16::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form16::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form16::Command6_Click);
    connect(Text2, &QLineEdit::textChanged, this, &Form16::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &Form16::Text3_Change);
    connect(Text3, &QLineEdit::textEdited, this, &Form16::Text3_Edited);
}

void Form16::addTabPage(QWidget* page, const QString& caption)
{
    setWhiteBackground(page);
    XTab1->addTab(page, caption);
    growTabsFor(page->minimumSizeHint().expandedTo(page->minimumSize()));
}

void Form16::growTabsFor(QSize pageSize)
{
    const int frame = 2 * XTab1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
    const QSize room = XTab1->size() - QSize(frame, XTab1->tabBar()->sizeHint().height() + frame);
    const int wider = std::max(0, pageSize.width() - room.width());
    const int taller = std::max(0, pageSize.height() - room.height());
    if (wider == 0 && taller == 0)
        return;
    XTab1->resize(XTab1->size() + QSize(wider, taller));
    Command1->move(Command1->x(), Command1->y() + taller);
    setFixedSize(size() + QSize(wider, taller));
    // The other pages' controls keep their distance from the right edge, where their text starts.
    for (int tab = 0; tab < XTab1->count() - 1; ++tab)
        for (QWidget* control : XTab1->widget(tab)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            control->move(control->x() + wider, control->y());
}

void Form16::Form_Load()
{
    // The keyboard option: only a stored "1" ticks the box (and so switches the keyboard on);
    // "0", nothing or anything else leaves it unticked.
    bool isNumber = false;
    const int keyboard = SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kKeyboardKey).trimmed().toShort(&isNumber);
    if (isNumber && keyboard == 1)
        Check1->setChecked(true);

    Text1->setText(SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kPictureKey));
    Text2->setText(SettingsStore::read(SettingsStore::kUser, SettingsStore::kUserKey));
    showStoredPassword(SettingsStore::read(SettingsStore::kUser, SettingsStore::kPasswordKey));

    const bool noLogin = Text2->text().isEmpty() && Text3->text().isEmpty();
    Command5->setEnabled(!noLogin);
    Command4->setEnabled(noLogin);
}

void Form16::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
}

void Form16::XTab1_Click(int tab)
{
    XTab1->setCurrentIndex(tab);
}

void Form16::showStoredPassword(const QString& stored)
{
    m_storedPassword = stored;
    m_passwordMasked = !stored.isEmpty();
    Text3->setText(m_passwordMasked ? QString(kMaskLength, kMaskCharacter) : QString());
}

void Form16::Text3_Edited()
{
    if (!m_passwordMasked)
        return;
    m_passwordMasked = false;
    QString typed = Text3->text();
    typed.remove(kMaskCharacter);
    Text3->setText(typed);
}

QString Form16::passwordToStore() const
{
    return m_passwordMasked ? m_storedPassword : LoginPassword::hash(Text3->text());
}

void Form16::Check1_Click()
{
    const bool ticked = Check1->isChecked();
    const QString option = ticked ? QStringLiteral("1") : QStringLiteral("0");
    // The load ticks the box from the stored "1": nothing to write then, and nothing to tell
    // at each start when the settings file cannot be written.
    if (SettingsStore::read(SettingsStore::kDesktop, SettingsStore::kKeyboardKey) != option)
        settingsSaved(this, SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kKeyboardKey, option),
                      windowTitle().trimmed());
    keyboardLayout().activate(ticked ? KeyboardLayout::kPersian : KeyboardLayout::kOrdinary);
}

void Form16::Command1_Click()
{
    hide();
}

void Form16::Command2_Click()
{
    // On cancel the dialog keeps the name it held: the file chosen last, or nothing.
    CommonDialog1->ShowOpen(this);
    Text1->setText(CommonDialog1->FileName);
}

void Form16::Command3_Click()
{
    if (!settingsSaved(this, SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kPictureKey, Text1->text()),
                       windowTitle().trimmed()))
        return;
    // The main window, when there is one, shows the picture at once; else its load will.
    Q_EMIT programEvents().backgroundPictureChosen(backgroundPicturePath());
}

void Form16::Command6_Click()
{
    if (!settingsSaved(this, SettingsStore::write(SettingsStore::kDesktop, SettingsStore::kPictureKey, QString()),
                       windowTitle().trimmed()))
        return;
    Text1->clear();
    Q_EMIT programEvents().backgroundPictureChosen(backgroundPicturePath());
}

void Form16::Command4_Click()
{
    if (Text2->text().isEmpty()) {
        PersianMsgBox(this, QStringLiteral("کاربر گرامي لطفآ نام کاربري را درست وارد کنيد"),
                      MsgBoxStyle::Exclamation, kSecurityTitle);
        return;
    }
    if (Text3->text().isEmpty()) {
        PersianMsgBox(this, QStringLiteral("کاربر گرامي لطفآ رمز عبور را درست وارد کنيد"),
                      MsgBoxStyle::Exclamation, kSecurityTitle);
        return;
    }
    const QString hashed = passwordToStore();
    // Our own message: hashing the password needs memory that may not be there.
    if (hashed.isEmpty()) {
        PersianMsgBox(this, QStringLiteral("کاربر گرامي رمز عبور ثبت نشد، لطفآ دوباره سعي کنيد"),
                      MsgBoxStyle::Exclamation, kSecurityTitle);
        return;
    }
    if (!settingsSaved(this,
                       SettingsStore::write(SettingsStore::kUser, {{SettingsStore::kUserKey, Text2->text()},
                                                                   {SettingsStore::kPasswordKey, hashed}}),
                       kSecurityTitle))
        return;
    showStoredPassword(hashed);
    Command4->setEnabled(false);
    Command5->setEnabled(true);
    PersianMsgBox(this, QStringLiteral("نرم افزار با موفقيت رمز گذاري شد"), MsgBoxStyle::Information,
                  kSecurityTitle);
}

void Form16::Command5_Click()
{
    if (!settingsSaved(this,
                       SettingsStore::write(SettingsStore::kUser, {{SettingsStore::kUserKey, QString()},
                                                                   {SettingsStore::kPasswordKey, QString()}}),
                       kSecurityTitle))
        return;
    Text2->clear();
    showStoredPassword(QString());
    Command5->setEnabled(false);
    Command4->setEnabled(true);
    PersianMsgBox(this, QStringLiteral("رمز عبور نرم افزار با موفقيت حذف شد"), MsgBoxStyle::Information,
                  kSecurityTitle);
}

void Form16::Text2_Change()
{
    Command5->setEnabled(!(Text2->text().isEmpty() && Text3->text().isEmpty()));
}

void Form16::Text3_Change()
{
    Text2_Change();
}

namespace LoginPassword {

QString hash(const QString& password)
{
    if (!sodiumReady())
        return QString();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        return QString();
    return QString::fromLatin1(out);
}

bool isHash(const QString& stored)
{
    return stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX))
        || stored.startsWith(QLatin1String(crypto_pwhash_argon2i_STRPREFIX));
}

bool matches(const QString& stored, const QString& typed)
{
    // A stored hash is never compared as text: typing the hash itself must not let anyone in.
    if (!isHash(stored))
        return stored == typed;
    if (!sodiumReady())
        return false;
    const QByteArray hashed = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hashed.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size()))
        == 0;
}

} // namespace LoginPassword

bool settingsSaved(QWidget* parent, bool written, const QString& title)
{
    if (!written)
        PersianMsgBox(parent,
                      QStringLiteral("کاربر گرامي تنظيمات ذخيره نشد؛ فايل تنظيمات قابل نوشتن نيست:\n%1")
                          .arg(displayPath(SettingsStore::fileName())),
                      MsgBoxStyle::Exclamation, title);
    return written;
}

QString Form16::backgroundPicturePath() const
{
    return Text1->text().isEmpty() ? programFile(QStringLiteral("corvanta.jpg")) : Text1->text();
}

void Form16::applyKeyboardOption() const
{
    keyboardLayout().activate(Check1->isChecked() ? KeyboardLayout::kPersian : KeyboardLayout::kOrdinary);
}
