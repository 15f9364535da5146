#include "ui/controls.h"

#include "ui/geometry.h"

#include <algorithm>

#include <QCheckBox>
#include <QEvent>
#include <QTableView>
#include <QStyle>
#include <QScreen>
#include <QPointer>
#include <QHeaderView>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>
#include <QPushButton>
#include <QRadioButton>

namespace Controls {

namespace {
// Paints its value itself: without a box, cut at the logical end with "…" when too long, each
// run in its own direction.
class ValueLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QString full = text();
        full.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QRect area = contentsRect().adjusted(3, 0, -3, 0);
        const QString shown = fontMetrics().elidedText(full, Qt::ElideRight, area.width());
        setToolTip(shown == full ? QString() : text());
        QTextOption layout(alignment());
        layout.setWrapMode(QTextOption::NoWrap);
        layout.setTextDirection(full.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(area), shown, layout);
    }
};

class ClickFilter : public QObject
{
public:
    ClickFilter(QWidget* widget, std::function<void()> action) : QObject(widget), m_action(std::move(action))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* widget = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
                m_action();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

template <class T> T* placed(T* control, const char* name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    placeTwips(control, left, top, width, height);
    return control;
}
} // namespace

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    auto* control = placed(new QLabel(text, parent), name, left, top, width, height);
    // Absolute, so that the right-to-left window does not mirror it to the left.
    control->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return control;
}

QLabel* valueLabel(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = placed(new ValueLabel(parent), name, left, top, width, height);
    control->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    QPalette colours = control->palette();
    colours.setColor(QPalette::WindowText, QColor(0x1f, 0x3a, 0x60));
    control->setPalette(colours);
    return control;
}

void onClick(QWidget* widget, std::function<void()> action)
{
    new ClickFilter(widget, std::move(action));
}

QLabel* fittedLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    QLabel* control = label(parent, name, text, left, top, width, height);
    placeLabelTwips(control, left, top, width, height);
    return control;
}

QLineEdit* textBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = placed(new QLineEdit(parent), name, left, top, width, height);
    // Absolute: digits and Latin words would otherwise start at the left of a Persian box.
    control->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    // A value longer than the box shows whole in the tool tip.
    QObject::connect(control, &QLineEdit::textChanged, control, [control](const QString& text) {
        const bool fits = control->fontMetrics().horizontalAdvance(text) <= control->contentsRect().width() - 8;
        control->setToolTip(fits ? QString() : text);
    });
    return control;
}

QLineEdit* latinTextBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = textBox(parent, name, left, top, width, height);
    control->setLayoutDirection(Qt::LeftToRight);
    control->setAlignment(Qt::AlignCenter);
    return control;
}

QPlainTextEdit* notesBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = placed(new QPlainTextEdit(parent), name, left, top, width, height);
    control->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    control->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    control->setTabChangesFocus(true);
    // A several-line box lays its lines out left to right whatever the window's direction
    // unless its document is told otherwise.
    QTextOption layout = control->document()->defaultTextOption();
    layout.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    layout.setTextDirection(Qt::RightToLeft);
    control->document()->setDefaultTextOption(layout);
    return control;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    auto* control = placed(new QCheckBox(text, parent), name, left, top, width, height);
    control->setLayoutDirection(Qt::RightToLeft);
    control->setBackgroundRole(QPalette::Window);
    control->setAutoFillBackground(true);
    QPalette pal = control->palette();
    pal.setColor(QPalette::Window, Qt::white);
    control->setPalette(pal);
    return control;
}

QRadioButton* option(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    return placed(new QRadioButton(text, parent), name, left, top, width, height);
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    auto* control = placed(new QPushButton(text, parent), name, left, top, width, height);
    control->setAutoDefault(false);
    return control;
}

QFrame* frameShape(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* frame = placed(new QFrame(parent), name, left, top, width, height);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setStyleSheet(QStringLiteral("QFrame#%1 { border: 1px solid #C0C0C0; }").arg(frame->objectName()));
    frame->lower();
    return frame;
}

void tabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

namespace {

// Keeps the places of a window's controls as laid out, and lays them out again on every resize.
class GridFollower : public QObject
{
public:
    GridFollower(QWidget* window, QTableView* grid) : QObject(window), m_base(window->size()), m_grid(grid)
    {
        for (QObject* child : window->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
                m_places.append({w, w->geometry()});
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            follow(static_cast<QWidget*>(watched)->size());
        return false;
    }

private:
    void follow(QSize size)
    {
        const int dx = size.width() - m_base.width();
        const int dy = size.height() - m_base.height();
        const int gridBottom = gridPlace().bottom();
        for (const auto& [widget, base] : m_places) {
            if (!widget)
                continue;
            QRect place = base;
            if (widget == m_grid)
                place.adjust(0, 0, dx, dy);
            else
                place.translate(base.center().x() > m_base.width() / 2 ? dx : 0, base.top() >= gridBottom ? dy : 0);
            widget->setGeometry(place);
        }
    }

    QRect gridPlace() const
    {
        for (const auto& [widget, base] : m_places)
            if (widget == m_grid)
                return base;
        return {};
    }

    QSize m_base;
    QTableView* m_grid;
    QList<std::pair<QPointer<QWidget>, QRect>> m_places;
};

} // namespace

void keepCaptionsClear(QWidget* window)
{
    const int gap = twipsToPixels(60);
    const QList<QLabel*> captions = window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QWidget* box : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QLineEdit*>(box) && !qobject_cast<QPlainTextEdit*>(box))
            continue;
        QRect place = box->geometry();
        for (const QLabel* caption : captions) {
            const QRect c = caption->geometry();
            if (caption->property("twipsRect").isValid() && c.top() < place.bottom() && c.bottom() > place.top()
                && c.left() > place.left() && c.left() - gap <= place.right())
                place.setRight(c.left() - gap - 1);
        }
        box->setGeometry(place);
    }
}

void growWithGrid(QWidget* window, QTableView* grid)
{
    const QSize base = window->size();
    new GridFollower(window, grid);
    const int needed = grid->verticalHeader()->width() + grid->horizontalHeader()->length() + 2 * grid->frameWidth()
                       + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    const QScreen* screen = window->screen();
    const int room = screen ? screen->availableGeometry().width() - 40 : base.width();
    const int width = std::clamp(base.width() + needed - grid->width(), base.width(), std::max(room, base.width()));
    window->setMinimumSize(base);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window->resize(width, base.height());
}

} // namespace Controls
