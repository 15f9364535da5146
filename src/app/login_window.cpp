#include "app/login_window.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "settings/software_settings.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"
#include "ui/persian_message_box.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("     فرم ورودي کاربر");
const QString kPrompt = QStringLiteral("براي ورود به نرم افزار نياز به رمز عبور داريد");
const QString kUserCaption = QStringLiteral("نام کاربري :");
const QString kPasswordCaption = QStringLiteral("رمز عبور :");
const QString kLogIn = QStringLiteral("ورود");
const QString kExit = QStringLiteral("خروج");
const QString kRefused = QStringLiteral("کاربر گرامي نام کاربري و رمز عبور شما فاقد اعتبار مي باشد");
const QString kRefusedTitle = QStringLiteral("کاربر غيره مجاز");

const QString kKeyPicture = QStringLiteral("login_key.png");
const QString kUserPicture = QStringLiteral("login_user.png");

constexpr int kWarning = 48;

QLabel* makePicture(QWidget* parent, const char* name, const QString& fileName)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QLatin1String(name));
    image->setAlignment(Qt::AlignCenter);
    const QString path = programFile(fileName);
    QPixmap picture;
    if (QFile::exists(path) && picture.load(path))
        image->setPixmap(picture);
    return image;
}

void fitPicture(QLabel* image)
{
    const QPixmap picture = image->pixmap();
    if (!picture.isNull() && (picture.width() > image->width() || picture.height() > image->height()))
        image->setPixmap(picture.scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

Form18::Form18(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form18"));
    setupWindow(kCaption, 4815, 2505);

    Image1 = makePicture(this, "Image1", kKeyPicture);
    placeTwips(Image1, 120, 120, 930, 870);
    fitPicture(Image1);
    Label1 = new QLabel(kPrompt, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    placeTwips(Label1, 1080, 240, 2850, 195);
    Image2 = makePicture(this, "Image2", kUserPicture);
    placeTwips(Image2, 3960, 120, 630, 555);
    fitPicture(Image2);

    Label2 = new QLabel(kUserCaption, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    placeTwips(Label2, 3720, 1080, 795, 195);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(Text1, 120, 1080, 3495, 315);

    Label3 = new QLabel(kPasswordCaption, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    placeTwips(Label3, 3720, 1440, 675, 195);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The typed password is never shown in clear.
    Text2->setEchoMode(QLineEdit::Password);
    placeTwips(Text2, 120, 1440, 3495, 315);

    Line1 = new QWidget(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setAutoFillBackground(true);
    {
        QPalette pal = Line1->palette();
        pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        Line1->setPalette(pal);
    }
    Line1->setGeometry(0, twipsToPixels(1920), twipsToPixels(4920), 1);

    Command1 = new QPushButton(kLogIn, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeTwips(Command1, 3480, 2040, 1215, 375);
    Command2 = new QPushButton(kExit, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    placeTwips(Command2, 120, 2040, 1215, 375);
    // Return logs in; it must never reach the exit button.
    Command2->setAutoDefault(false);
    Command1->setDefault(true);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &Form18::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form18::Command2_Click);
}

void Form18::Form_Load()
{
    // The settings window loads hidden here and holds the login for the run; when the
    // keyboard option is ticked its load already switches to the Persian keyboard.
    Form16* settings = forms().get<Form16>();
    if (settings->Text2->text().isEmpty() && settings->Text3->text().isEmpty()) {
        forms().get<Form1>()->showMaximized();
        hide();
        return;
    }
    show();
    Text1->setFocus();
}

void Form18::Command1_Click()
{
    const QString typedUser = Text1->text();
    const QString typedPassword = Text2->text();
    const QString storedPassword = SettingsStore::read(SettingsStore::kUser, SettingsStore::kPasswordKey);
    const QString storedUser = SettingsStore::read(SettingsStore::kUser, SettingsStore::kUserKey);

    // Exact comparisons: letter case and blanks count.
    if (storedUser != typedUser || !LoginPassword::matches(storedPassword, typedPassword)) {
        PersianMsgBox(this, kRefused, kWarning, kRefusedTitle);
        return;
    }

    // A password an earlier version kept in plain text is replaced by its hash now.
    if (!storedPassword.isEmpty() && !LoginPassword::isHash(storedPassword)) {
        const QString hashed = LoginPassword::hash(typedPassword);
        if (!hashed.isEmpty()) {
            SettingsStore::write(SettingsStore::kUser, SettingsStore::kPasswordKey, hashed);
            if (Form16* settings = forms().ifLoaded<Form16>())
                settings->Text3->setText(hashed);
        }
    }

    // The main window opens on top of this one; closing it ends the program.
    Form1* mainWindow = forms().get<Form1>();
    mainWindow->setWindowState(mainWindow->windowState() | Qt::WindowMaximized);
    FormRegistry::showModalWidget(mainWindow);
}

void Form18::Command2_Click()
{
    endProgram();
}

void Form18::closeEvent(QCloseEvent* event)
{
    event->accept();
    // endProgram() unloads every window before closing them: a close that finds this window
    // still loaded is the user's close box.
    if (forms().ifLoaded<Form18>() == this)
        endProgram();
}
