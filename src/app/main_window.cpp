#include "app/main_window.h"

#include "app/about_box.h"
#include "app/backup_restore.h"
#include "app/clock_animation.h"
#include "app/startup.h"
#include "calendar/solar_hijri.h"
#include "catalogue/customer_editor.h"
#include "catalogue/domain_editor.h"
#include "catalogue/list_windows.h"
#include "catalogue/plan_editor.h"
#include "orders/order_entry.h"
#include "orders/order_list.h"
#include "orders/renewals.h"
#include "settings/invoice_settings.h"
#include "settings/software_settings.h"
#include "storage/data_source.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"
#include "ui/persian_message_box.h"
#include "ui/program_events.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace {

// The side panel is laid out in its own box, in twips measured from the panel's top left; the
// box stands at the right edge of the window and the picture fills the space left of it.
constexpr int kPanelLeft = 12480;
constexpr int kPanelTop = 120;
constexpr int kPanelWidth = 2775;
constexpr int kPanelContentHeight = 5655; // down to the bottom of the statistics box
constexpr int kMargin = 120;              // around the picture and the panel, and between them

// The command menu, top to bottom: level 1 entries sit on the menu bar; an entry followed by a
// deeper one opens a submenu; "-" is a separator.
const QString kSeparator = QStringLiteral("-");

struct MenuEntry
{
    int level;
    const char* name;
    QString caption;
    QKeySequence shortcut;
    void (Form1::*command)();
};

const std::vector<MenuEntry>& menuEntries()
{
    static const std::vector<MenuEntry> entries = {
        {1, "aaa", QStringLiteral("   ثبت اطلاعات   "), {}, nullptr},
        {2, "asd", QStringLiteral("ثبت پنل جديد         "), {}, nullptr},
        {3, "win1", QStringLiteral("ويندوز        "), {Qt::CTRL | Qt::Key_W}, &Form1::win1_Click},
        {3, "fv", QStringLiteral("-"), {}, nullptr},
        {3, "dsa", QStringLiteral("لينوکس          "), {Qt::CTRL | Qt::Key_L}, &Form1::dsa_Click},
        {2, "sdddsdsd", QStringLiteral("-"), {}, nullptr},
        {2, "domin", QStringLiteral("ثبت پسوند دامنه جديد"), {}, &Form1::domin_Click},
        {2, "egefc", QStringLiteral("-"), {}, nullptr},
        {2, "defsf", QStringLiteral("ثبت مشتري جديد"), {}, &Form1::defsf_Click},
        {1, "ajaja", QStringLiteral("   ويرايش اطلاعات   "), {}, nullptr},
        {2, "editpanl", QStringLiteral("ويرايش پنل"), {}, nullptr},
        {3, "win", QStringLiteral("ويندوز        "), {Qt::CTRL | Qt::Key_E}, &Form1::win_Click},
        {3, "lkkjh", QStringLiteral("-"), {}, nullptr},
        {3, "lkdgd", QStringLiteral("لينوکس        "), {Qt::CTRL | Qt::Key_N}, &Form1::lkdgd_Click},
        {2, "ijiij", QStringLiteral("-"), {}, nullptr},
        {2, "lkjkff", QStringLiteral("ويرايش پسوند دامنه"), {}, &Form1::lkjkff_Click},
        {2, "kjkjf", QStringLiteral("-"), {}, nullptr},
        {2, "llahf", QStringLiteral("ويرايش مشتري"), {}, &Form1::llahf_Click},
        {1, "al", QStringLiteral("   عمليات   "), {}, nullptr},
        {2, "lllala", QStringLiteral("ثبت سفارش جديد"), {}, &Form1::lllala_Click},
        {2, "jbjsdfhgbvhdsgf", QStringLiteral("-"), {}, nullptr},
        {2, "viewsfarsh", QStringLiteral("ويرايش سفارش"), {}, &Form1::viewsfarsh_Click},
        {2, "sepRenewals", QStringLiteral("-"), {}, nullptr},
        {2, "renewals", QStringLiteral("سرويس هاي نزديک به تمديد"), {}, &Form1::renewals_Click},
        {1, "options", QStringLiteral("   تنظيمات    "), {}, nullptr},
        {2, "tah", QStringLiteral("   تهسيلات"), {}, nullptr},
        {3, "setbackup", QStringLiteral("پشتيبان گيري"), {}, &Form1::setbackup_Click},
        {3, "nnknkn", QStringLiteral("-"), {}, nullptr},
        {3, "getbackup", QStringLiteral("بازيابي پشتيبان"), {}, &Form1::getbackup_Click},
        {2, "sfsdfsdf", QStringLiteral("-"), {}, nullptr},
        {2, "optionprint", QStringLiteral("   تنظيمات فاکتور    "), {}, &Form1::optionprint_Click},
        {2, "jkjk", QStringLiteral("-"), {}, nullptr},
        {2, "toolssoft", QStringLiteral("   تنظيمات نرم افزار"), {}, &Form1::toolssoft_Click},
        {1, "ab", QStringLiteral("   درباره ما   "), {}, &Form1::ab_Click},
        {1, "exit", QStringLiteral("    خروج    "), {}, &Form1::exit_Click},
    };
    return entries;
}

// A rectangle frame or filled box, as the layout draws around the picture and the panel.
class Shape : public QWidget
{
public:
    Shape(QWidget* parent, const QColor& colour, bool filled)
        : QWidget(parent), m_colour(colour), m_filled(filled)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (m_filled)
            painter.fillRect(rect(), m_colour);
        painter.setPen(m_colour);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QColor m_colour;
    bool m_filled;
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    // Right-aligned whatever the text: a label decides its direction by its first letter, so
    // a bare count or a Latin date would otherwise sit at the left.
    label->setAlignment(Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// A count step: the record count of a list window's data source, or the label left as it is
// when that window's table could not be read.
template <class ListWindow> void showCount(QLabel* label)
{
    const ListWindow* window = forms().get<ListWindow>();
    const DataSource* source = window ? window->Adodc1 : nullptr;
    if (!source || !source->lastError().isEmpty())
        return;
    label->setText(QString::number(source->recordCount()));
    fitLabel(label);
}

} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("کروانتا نگارش 1.1"));
    setLayoutDirection(Qt::RightToLeft);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    setCentralWidget(central);
    central->installEventFilter(this);
    buildMenu();
    buildPanel();
    CommonDialog1 = new CommonDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    // Other windows change the customer count and the picture through the program's events.
    // The customer count is the customer list's as it stands (not re-read).
    connect(&programEvents(), &ProgramEvents::customersChanged, this,
            [this] { Label2->setText(QString::number(forms().get<Form9>()->Adodc1->recordCount())); });
    connect(&programEvents(), &ProgramEvents::backgroundPictureChosen, this, &Form1::showPicture);
    // Opens maximized whoever shows it; the size covers the screen where no window manager
    // maximizes windows.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

void Form1::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    const auto& entries = menuEntries();
    std::vector<QMenu*> open; // open[i]: the submenu that receives entries of level i + 2
    for (size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& entry = entries[i];
        const QString name = QString::fromLatin1(entry.name);
        open.resize(static_cast<size_t>(entry.level - 1));
        QMenu* owner = open.empty() ? nullptr : open.back();
        const bool opensSubmenu = i + 1 < entries.size() && entries[i + 1].level > entry.level;
        QAction* action = nullptr;
        if (opensSubmenu) {
            QMenu* menu = owner ? owner->addMenu(entry.caption) : bar->addMenu(entry.caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            open.push_back(menu);
        } else if (entry.caption == kSeparator && owner) {
            action = owner->addSeparator(); // drawn as a line; a text would show beside it
        } else {
            action = owner ? owner->addAction(entry.caption) : bar->addAction(entry.caption);
        }
        action->setObjectName(name);
        if (!entry.shortcut.isEmpty())
            action->setShortcut(entry.shortcut);
        if (entry.command)
            connect(action, &QAction::triggered, this, entry.command);
    }
}

void Form1::buildPanel()
{
    QWidget* client = centralWidget();
    const QColor frame(0xC0, 0xC0, 0xC0);
    const QColor box(0xE0, 0xE0, 0xE0);

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Shape3 = new Shape(client, frame, false);
    Shape3->setObjectName(QStringLiteral("Shape3"));

    m_panel = new QWidget(client);
    m_panel->setObjectName(QStringLiteral("sidePanel"));
    Shape1 = new Shape(m_panel, frame, false);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape2 = new Shape(m_panel, box, true);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    placeInPanel(Shape2, 12600, 240, 2535, 3135);
    Shape4 = new Shape(m_panel, box, true);
    Shape4->setObjectName(QStringLiteral("Shape4"));
    placeInPanel(Shape4, 12600, 3480, 2535, 2175);
    buildClock();
    buildStatistics();
    widenPanelForHeadings();
    layOut();
}

void Form1::placeInPanel(QWidget* widget, int left, int top, int width, int height)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        placeLabelTwips(label, left - kPanelLeft, top - kPanelTop, width, height);
    else
        placeTwips(widget, left - kPanelLeft, top - kPanelTop, width, height);
}

void Form1::buildClock()
{
    ShockwaveFlash1 = new ClockAnimation(m_panel);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    placeInPanel(ShockwaveFlash1, 12720, 720, 2295, 2175);
    Label12 = makeLabel(m_panel, "Label12", QStringLiteral("ساعت و تاريخ سيستم"), true);
    Label12->setAlignment(Qt::AlignCenter);
    placeInPanel(Label12, 13030, 360, 1740, 195);
    Label13 = makeLabel(m_panel, "Label13", QStringLiteral("امروز :"));
    placeInPanel(Label13, 14565, 3000, 450, 195);
    Label14 = makeLabel(m_panel, "Label14", QStringLiteral("1388/11/07"));
    placeInPanel(Label14, 13575, 3000, 840, 195);
}

void Form1::buildStatistics()
{
    Label11 = makeLabel(m_panel, "Label11", QStringLiteral("آمار و ارقام اطلاعات سيستم"), true);
    Label11->setAlignment(Qt::AlignCenter);
    placeInPanel(Label11, 12780, 3600, 2205, 195);
    // Each row: the caption at the right, its count just to the left of it.
    struct Row
    {
        QLabel** caption;
        const char* captionName;
        QString text;
        QLabel** count;
        const char* countName;
        int top;
    };
    const Row rows[] = {
        {&Label1, "Label1", QStringLiteral("مشتري ها :"), &Label2, "Label2", 3840},
        {&Label3, "Label3", QStringLiteral("دامنه ها : "), &Label4, "Label4", 4200},
        {&Label5, "Label5", QStringLiteral("پنل هاي هاست ويندوز :"), &Label6, "Label6", 4560},
        {&Label9, "Label9", QStringLiteral("پنل هاي هاست لينوکس :"), &Label8, "Label8", 4920},
        {&Label7, "Label7", QStringLiteral("سفارش هاي ثبت شد :"), &Label10, "Label10", 5280},
    };
    for (const Row& row : rows) {
        *row.caption = makeLabel(m_panel, row.captionName, row.text);
        placeInPanel(*row.caption, 13185, row.top, 1800, 195);
        *row.count = makeLabel(m_panel, row.countName, QStringLiteral("0 عدد"));
        placeInPanel(*row.count, 12720, row.top, 450, 195);
    }
    Label1->installEventFilter(this);
    Label3->installEventFilter(this);
}

void Form1::widenPanelForHeadings()
{
    const int padding = twipsToPixels(90);
    int grow = 0;
    for (const QLabel* heading : {Label11, Label12})
        grow = std::max(grow, heading->width() + 2 * padding - Shape4->width());
    if (grow <= 0)
        return;
    // The two boxes grow; everything in them moves by half as much, so that it stays centred
    // (labels refit later from their remembered place, which moves with them).
    for (QObject* child : m_panel->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w == Shape1)
            continue;
        if (w == Shape2 || w == Shape4) {
            w->resize(w->width() + grow, w->height());
            continue;
        }
        w->move(w->x() + grow / 2, w->y());
        if (const QRect place = w->property("twipsRect").toRect(); place.isValid())
            w->setProperty("twipsRect", place.translated(grow / 2, 0));
    }
    m_panelGrowth = grow;
}

void Form1::layOut()
{
    const QSize client = centralWidget()->size();
    const int margin = twipsToPixels(kMargin);
    const int panelWidth = twipsToPixels(kPanelWidth) + m_panelGrowth;
    // A window too small for the panel's boxes clips them rather than squeezing them.
    const int height = std::max(client.height() - 2 * margin, twipsToPixels(kPanelContentHeight));
    const int pictureWidth = std::max(client.width() - panelWidth - 3 * margin, twipsToPixels(2000));
    const QRect picture(margin, margin, pictureWidth, height);
    Image1->setGeometry(picture);
    Shape3->setGeometry(picture);
    m_panel->setGeometry(picture.right() + 1 + margin, margin, panelWidth, height);
    Shape1->setGeometry(0, 0, panelWidth, height);
}

void Form1::Form_Load()
{
    // 1. Background and direction.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    setPalette(pal);
    setLayoutDirection(Qt::RightToLeft);
    // 2. Keyboard.
    forms().get<Form16>()->applyKeyboardOption();
    // 3. Today's date.
    Label14->setText(PersianDateText(QDate::currentDate(), 3));
    fitLabel(Label14);
    // 4. Counts.
    countSteps();
    // 5. Background picture.
    showPicture(forms().get<Form16>()->backgroundPicturePath());
    // 6. Clock; a missing file leaves the box empty.
    ShockwaveFlash1->setMovie(programFile(QStringLiteral("clock1.swf")));
    // 7. File dialog of backup and restore.
    CommonDialog1->Filter = QStringLiteral("(*.Backup)|*.Backup");
}

void Form1::countSteps()
{
    showCount<Form6>(Label6);
    showCount<Form7>(Label8);
    showCount<Form14>(Label10);
    showCount<Form8>(Label4);
    showCount<Form9>(Label2);
}

void Form1::win1_Click()
{
    editState(Table::winhost).setNewRecord();
    forms().showModal<Form2>();
}

void Form1::dsa_Click()
{
    editState(Table::linhost).setNewRecord();
    forms().showModal<Form3>();
}

void Form1::domin_Click()
{
    editState(Table::newdomin).setNewRecord();
    forms().showModal<Form4>();
}

void Form1::defsf_Click()
{
    editState(Table::newmoshtary).setNewRecord();
    forms().showModal<Form5>();
}

void Form1::win_Click()
{
    forms().showModal<Form6>();
}

void Form1::lkdgd_Click()
{
    forms().showModal<Form7>();
}

void Form1::lkjkff_Click()
{
    forms().showModal<Form8>();
}

void Form1::llahf_Click()
{
    forms().showModal<Form9>();
}

void Form1::lllala_Click()
{
    editState(Table::ss).setNewRecord();
    forms().showModal<Form10>();
}

void Form1::viewsfarsh_Click()
{
    forms().showModal<Form14>();
}

void Form1::renewals_Click()
{
    forms().showModal<Renewals>();
}

void Form1::setbackup_Click()
{
    BackupCommand(this);
}

void Form1::getbackup_Click()
{
    RestoreCommand(this);
}

void Form1::optionprint_Click()
{
    forms().showModal<Form15>();
}

void Form1::toolssoft_Click()
{
    forms().showModal<Form16>();
}

void Form1::ab_Click()
{
    forms().showModal<Form17>();
}

void Form1::exit_Click()
{
    if (PersianMsgBox(this, QStringLiteral("آيا ميخواهيد از نرم افزار خارج شويد"),
                      MsgBoxStyle::YesNo + MsgBoxStyle::Exclamation,
                      QStringLiteral("منوي خروج")) == MsgBoxId::Yes)
        endProgram();
}

void Form1::Label1_DblClick()
{
    forms().showModal<Form9>();
}

void Form1::Label3_DblClick()
{
    forms().showModal<Form8>();
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    // endProgram() unloads every window before it closes them, so a close that reaches a
    // main window no longer in the registry is the program already ending.
    if (forms().ifLoaded<Form1>() == this)
        endProgram();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        layOut();
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Label1) {
            Label1_DblClick();
            return true;
        }
        if (watched == Label3) {
            Label3_DblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::showPicture(const QString& path)
{
    QPixmap picture;
    if (path.isEmpty() || !picture.load(path))
        return false;
    Image1->setPixmap(picture);
    return true;
}
