#include "app/clock_animation.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTime>

namespace {
// Frames per second of the clock; the second hand moves smoothly enough at this rate.
constexpr int kFramesPerSecond = 10;
} // namespace

QByteArray clockDocumentAt(const QByteArray& document, double secondsSinceMidnight)
{
    // Qt 6.4 cannot seek an animation (setCurrentFrame misbehaves), so every rotation gets a
    // negative begin instead: it then started that long ago.
    static const QRegularExpression tag(QStringLiteral(R"(<animateTransform\b[^>]*>)"));
    static const QRegularExpression begin(QStringLiteral(R"(\s+begin\s*=\s*("[^"]*"|'[^']*'))"));
    const QString beginAttribute =
        QStringLiteral(" begin=\"-%1s\"").arg(QString::number(secondsSinceMidnight, 'f', 3));
    const QString text = QString::fromUtf8(document);
    QString out;
    out.reserve(text.size() + 64);
    qsizetype done = 0;
    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(text).mid(done, match.capturedStart() - done);
        QString element = match.captured();
        element.remove(begin);
        element.insert(QStringLiteral("<animateTransform").size(), beginAttribute);
        out += element;
        done = match.capturedEnd();
    }
    out += QStringView(text).mid(done);
    return out.toUtf8();
}

ClockAnimation::ClockAnimation(QWidget* parent) : QWidget(parent) {}

bool ClockAnimation::setMovie(const QString& path)
{
    m_path = path;
    delete m_renderer;
    m_renderer = nullptr;
    update();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const double now = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    auto* renderer = new QSvgRenderer(this);
    renderer->setFramesPerSecond(kFramesPerSecond);
    if (!renderer->load(clockDocumentAt(file.readAll(), now))) {
        delete renderer;
        return false;
    }
    m_renderer = renderer;
    connect(m_renderer, &QSvgRenderer::repaintNeeded, this, qOverload<>(&QWidget::update));
    return true;
}

bool ClockAnimation::isPlaying() const
{
    return m_renderer && m_renderer->isValid();
}

QRectF ClockAnimation::movieRect() const
{
    if (!isPlaying())
        return {};
    QSizeF size = m_renderer->viewBoxF().size();
    if (size.isEmpty())
        size = m_renderer->defaultSize();
    if (size.isEmpty())
        return rect();
    size.scale(QSizeF(rect().size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void ClockAnimation::paintEvent(QPaintEvent*)
{
    if (!isPlaying())
        return;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    m_renderer->render(&painter, movieRect());
}
