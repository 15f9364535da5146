#include "app/login_window.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "settings/software_settings.h"
#include "storage/program_folder.h"
#include "storage/settings_store.h"
#include "ui/controls.h"
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

const QString kKeyPicture = QStringLiteral("login_key.png");
const QString kUserPicture = QStringLiteral("login_user.png");

// A picture from the program folder, shrunk to its place when it is larger; empty when the file
// is missing or no picture.
QLabel* makePicture(QWidget* parent, const char* name, const QString& fileName, QRect twips)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QLatin1String(name));
    image->setAlignment(Qt::AlignCenter);
    placeTwips(image, twips.x(), twips.y(), twips.width(), twips.height());
    const QString path = programFile(fileName);
    QPixmap picture;
    if (!QFile::exists(path) || !picture.load(path))
        return image;
    if (picture.width() > image->width() || picture.height() > image->height())
        picture = picture.scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image->setPixmap(picture);
    return image;
}

// A grey separator line one pixel high across the window, from its left edge.
QWidget* makeLine(QWidget* parent, const char* name, int top, int width)
{
    auto* line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    line->setPalette(pal);
    line->setGeometry(0, twipsToPixels(top), twipsToPixels(width), 1);
    return line;
}

} // namespace

Form18::Form18(QWidget* parent) : Form(parent)
{
    using namespace Controls;
    setObjectName(QStringLiteral("Form18"));
    setupWindow(QStringLiteral("     فرم ورودي کاربر"), 4815, 2505);

    Image1 = makePicture(this, "Image1", kKeyPicture, {120, 120, 930, 870});
    Label1 = fittedLabel(this, "Label1", QStringLiteral("براي ورود به نرم افزار نياز به رمز عبور داريد"),
                         1080, 240, 2850, 195);
    Image2 = makePicture(this, "Image2", kUserPicture, {3960, 120, 630, 555});
    Label2 = fittedLabel(this, "Label2", QStringLiteral("نام کاربري :"), 3720, 1080, 795, 195);
    Text1 = textBox(this, "Text1", 120, 1080, 3495, 315);
    Label3 = fittedLabel(this, "Label3", QStringLiteral("رمز عبور :"), 3720, 1440, 675, 195);
    Text2 = textBox(this, "Text2", 120, 1440, 3495, 315);
    // The typed password is never shown in clear.
    Text2->setEchoMode(QLineEdit::Password);
    Line1 = makeLine(this, "Line1", 1920, 4920);
    Command1 = button(this, "Command1", QStringLiteral("ورود"), 3480, 2040, 1215, 375);
    Command2 = button(this, "Command2", QStringLiteral("خروج"), 120, 2040, 1215, 375);
    // Return logs in; it must never reach the exit button.
    Command1->setDefault(true);
    tabOrder({Text1, Text2, Command1, Command2});

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
        PersianMsgBox(this, QStringLiteral("کاربر گرامي نام کاربري و رمز عبور شما فاقد اعتبار مي باشد"),
                      MsgBoxStyle::Exclamation, QStringLiteral("کاربر غيره مجاز"));
        return;
    }

    // A password an earlier version kept in plain text is replaced by its hash now.
    if (!storedPassword.isEmpty() && !LoginPassword::isHash(storedPassword)) {
        const QString hashed = LoginPassword::hash(typedPassword);
        if (!hashed.isEmpty()) {
            SettingsStore::write(SettingsStore::kUser, SettingsStore::kPasswordKey, hashed);
            if (Form16* settings = forms().ifLoaded<Form16>())
                settings->showStoredPassword(hashed);
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
