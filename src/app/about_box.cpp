#include "app/about_box.h"

#include "storage/program_folder.h"
#include "ui/geometry.h"

#include <QCursor>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

const QString kCaption = QStringLiteral("      درباره ما");
const QString kWebSite = QStringLiteral("https://corvanta.example");
const QString kPictureFile = QStringLiteral("about.png");

// The pointer over the web-site area: an arrow with a small globe.
QCursor webCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 19);
    arrow.lineTo(6, 14);
    arrow.lineTo(10, 22);
    arrow.lineTo(13, 21);
    arrow.lineTo(9, 13);
    arrow.lineTo(16, 13);
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    painter.drawPath(arrow);
    const QRectF globe(16, 16, 14, 14);
    painter.setPen(QPen(QColor(0x0B, 0x4F, 0x8A), 1.5));
    painter.setBrush(QColor(0x7F, 0xC4, 0xF0));
    painter.drawEllipse(globe);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(globe.adjusted(4, 0, -4, 0));
    painter.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
    painter.end();
    return QCursor(pixmap, 1, 1);
}

} // namespace

Form17::Form17(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form17"));
    setupWindow(kCaption, 6000, 4500);
    m_picture.load(pictureFile());

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setCursor(webCursor());
    placeTwips(Image1, 1560, 3000, 2775, 495);
    Image1->installEventFilter(this);
}

QUrl Form17::webSite()
{
    return QUrl(kWebSite);
}

QString Form17::pictureFile()
{
    return programFile(kPictureFile);
}

void Form17::Image1_Click()
{
    QDesktopServices::openUrl(webSite());
}

void Form17::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

bool Form17::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Image1->rect().contains(mouse->position().toPoint()))
            Image1_Click();
        return true;
    }
    return Form::eventFilter(watched, event);
}
