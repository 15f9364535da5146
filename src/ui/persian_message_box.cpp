#include "ui/persian_message_box.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>

#include <array>
#include <map>
#include <vector>

namespace {

// Button captions by id, as every box of the program shows them.
QString captionOf(int id)
{
    static const std::map<int, QString> captions = {
        {MsgBoxId::Ok, QStringLiteral("تأييد")},       {MsgBoxId::Cancel, QStringLiteral("لغو")},
        {MsgBoxId::Abort, QStringLiteral("قطع عمل")},  {MsgBoxId::Retry, QStringLiteral("سعي مجدد")},
        {MsgBoxId::Ignore, QStringLiteral("صرف نظر")}, {MsgBoxId::Yes, QStringLiteral("بله")},
        {MsgBoxId::No, QStringLiteral("نه")},
    };
    return captions.at(id);
}

// The buttons of each button set, in the order the set names them.
std::vector<int> buttonSet(int set)
{
    switch (set) {
    case 1:
        return {MsgBoxId::Ok, MsgBoxId::Cancel};
    case 2:
        return {MsgBoxId::Abort, MsgBoxId::Retry, MsgBoxId::Ignore};
    case 3:
        return {MsgBoxId::Yes, MsgBoxId::No, MsgBoxId::Cancel};
    case 4:
        return {MsgBoxId::Yes, MsgBoxId::No};
    case 5:
        return {MsgBoxId::Retry, MsgBoxId::Cancel};
    default:
        return {MsgBoxId::Ok};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// What the close box (or Escape) answers: Cancel where the set has it, No in a Yes/No box (any
// answer but Yes is a no), the single OK; an Abort/Retry/Ignore box must be answered.
int escapeAnswer(const std::vector<int>& buttons)
{
    for (int id : {MsgBoxId::Cancel, MsgBoxId::No})
        for (int b : buttons)
            if (b == id)
                return id;
    if (buttons.size() == 1)
        return buttons.front();
    return 0;
}

// The four icons, drawn as shapes at the pixel size they are shown at, so they stay sharp at
// every scale (the styles' own are small bitmaps, blurred when enlarged).
void drawMark(QPainter& p, QMessageBox::Icon icon, qreal s)
{
    const QColor white(Qt::white);
    if (icon == QMessageBox::Critical) {
        p.setPen(QPen(white, s * 0.11, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.35, s * 0.35), QPointF(s * 0.65, s * 0.65));
        p.drawLine(QPointF(s * 0.65, s * 0.35), QPointF(s * 0.35, s * 0.65));
    } else if (icon == QMessageBox::Information) {
        p.setBrush(white);
        p.drawEllipse(QPointF(s * 0.5, s * 0.29), s * 0.07, s * 0.07);
        p.drawRoundedRect(QRectF(s * 0.44, s * 0.41, s * 0.12, s * 0.34), s * 0.04, s * 0.04);
    } else if (icon == QMessageBox::Question) {
        QFont font;
        font.setBold(true);
        font.setPixelSize(qRound(s * 0.62));
        p.setFont(font);
        p.setPen(white);
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
    }
}

QPixmap drawnIcon(QMessageBox::Icon icon, int size, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
    const qreal s = size;
    if (icon == QMessageBox::Warning) {
        QPainterPath triangle;
        triangle.moveTo(s * 0.5, s * 0.06);
        triangle.lineTo(s * 0.97, s * 0.9);
        triangle.lineTo(s * 0.03, s * 0.9);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(0xB0, 0x7A, 0x00), s * 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xF5, 0xB8, 0x00));
        p.drawPath(triangle);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x20, 0x20));
        p.drawRoundedRect(QRectF(s * 0.45, s * 0.32, s * 0.1, s * 0.33), s * 0.04, s * 0.04);
        p.drawEllipse(QPointF(s * 0.5, s * 0.76), s * 0.06, s * 0.06);
        return pixmap;
    }
    p.setBrush(icon == QMessageBox::Critical ? QColor(0xD3, 0x2F, 0x2F) : QColor(0x1E, 0x6F, 0xD9));
    p.drawEllipse(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92));
    drawMark(p, icon, s);
    return pixmap;
}

// A message box whose icon is drawn afresh for the screen it is on.
class PersianBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* event) override
    {
        const bool handled = QMessageBox::event(event);
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::ScreenChangeInternal || type == QEvent::StyleChange)
            drawIcon();
        return handled;
    }

private:
    void drawIcon()
    {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
        if (!label || icon() == NoIcon)
            return;
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        label->setPixmap(drawnIcon(icon(), size, devicePixelRatioF()));
    }
};

} // namespace

int PersianMsgBox(QWidget* owner, const QString& prompt, int style, const QString& title)
{
    const auto buttons = buttonSet(style & 0x0F);
    PersianBox box(owner);
    box.setObjectName(QStringLiteral("PersianMsgBox"));
    box.setLayoutDirection(Qt::RightToLeft);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconOf(style));

    std::vector<std::pair<QAbstractButton*, int>> ids;
    // One role for all keeps the set's order (first button at the right) under every
    // platform's button layout; the answer comes from the button itself.
    for (int id : buttons) {
        QPushButton* button = box.addButton(captionOf(id), QMessageBox::ActionRole);
        button->setObjectName(QStringLiteral("MsgBoxButton%1").arg(id));
        ids.emplace_back(button, id);
    }
    const size_t defaultIndex = static_cast<size_t>((style & 0x300) >> 8);
    box.setDefaultButton(static_cast<QPushButton*>(ids[defaultIndex < ids.size() ? defaultIndex : 0].first));
    const int onEscape = escapeAnswer(buttons);
    for (const auto& [button, id] : ids)
        if (id == onEscape)
            box.setEscapeButton(button);

    box.exec();
    QAbstractButton* pressed = box.clickedButton();
    for (const auto& [button, id] : ids)
        if (button == pressed)
            return id;
    return onEscape;
}
