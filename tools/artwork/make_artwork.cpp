// Draws the program's own artwork and writes the clock animation into a folder (the program
// folder of a build): the default background picture, the about box picture, the two login
// window pictures and the clock. Run at build time: make_artwork <output folder>.
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTextStream>
#include <QtMath>

#include <cstdio>

namespace {

const QString kProductName = QStringLiteral("کروانتا");
const QString kProductCaption = QStringLiteral("کروانتا نگارش 1.1");
const QString kWebAddress = QStringLiteral("corvanta.example");

const QColor kNavy(0x0E, 0x2A, 0x47);
const QColor kTeal(0x11, 0x7A, 0x8B);
const QColor kSky(0x7F, 0xC4, 0xF0);
const QColor kAmber(0xF2, 0xA5, 0x3A);

QString persianFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : {QStringLiteral("Tahoma"), QStringLiteral("Vazirmatn"),
                                  QStringLiteral("Nazli"), QStringLiteral("Noto Sans Arabic")})
        if (installed.contains(family))
            return family;
    return QGuiApplication::font().family();
}

QFont face(int pixelSize, bool bold = false)
{
    QFont font(persianFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A globe of meridians and parallels.
void drawGlobe(QPainter& p, const QPointF& centre, qreal radius, const QColor& line, qreal width)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(line, width));
    p.drawEllipse(centre, radius, radius);
    for (int i = 1; i < 4; ++i)
        p.drawEllipse(centre, radius * std::sin(i * M_PI / 8), radius);
    p.drawLine(QPointF(centre.x(), centre.y() - radius), QPointF(centre.x(), centre.y() + radius));
    for (int i = -2; i <= 2; ++i) {
        const qreal y = centre.y() + radius * i / 3.0;
        const qreal half =
            std::sqrt(std::max<qreal>(0, radius * radius - (y - centre.y()) * (y - centre.y())));
        p.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    p.restore();
}

// A server rack of `units` stacked units with status lights.
void drawRack(QPainter& p, const QRectF& rect, int units)
{
    p.save();
    p.setPen(QPen(QColor(0x05, 0x14, 0x24), 2));
    p.setBrush(QColor(0x1B, 0x33, 0x4F));
    p.drawRoundedRect(rect, 4, 4);
    const qreal unit = (rect.height() - 12) / units;
    for (int i = 0; i < units; ++i) {
        const QRectF slot(rect.left() + 6, rect.top() + 6 + i * unit, rect.width() - 12, unit - 4);
        QLinearGradient g(slot.topLeft(), slot.bottomLeft());
        g.setColorAt(0, QColor(0x3A, 0x5A, 0x7C));
        g.setColorAt(1, QColor(0x22, 0x3D, 0x5B));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(slot, 2, 2);
        p.setBrush(i % 3 == 1 ? kAmber : QColor(0x5C, 0xE0, 0x8A));
        p.drawEllipse(QPointF(slot.right() - 8, slot.center().y()), 2.2, 2.2);
        p.setBrush(QColor(0x10, 0x22, 0x36));
        for (int k = 0; k < 5; ++k)
            p.drawRect(QRectF(slot.left() + 6 + k * 7, slot.center().y() - 1, 4, 2));
    }
    p.restore();
}

bool save(const QImage& image, const QString& path, const char* format, int quality = -1)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "make_artwork: cannot write %s\n", qPrintable(path));
    return false;
}

// The default background of the main window's picture area (817 x 681 pixels).
QImage background()
{
    QImage image(817, 681, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, kNavy);
    sky.setColorAt(0.65, QColor(0x15, 0x4C, 0x6E));
    sky.setColorAt(1, kTeal);
    p.fillRect(image.rect(), sky);

    QRadialGradient glow(QPointF(560, 250), 330);
    glow.setColorAt(0, QColor(0x7F, 0xC4, 0xF0, 110));
    glow.setColorAt(1, QColor(0x7F, 0xC4, 0xF0, 0));
    p.fillRect(image.rect(), glow);
    drawGlobe(p, QPointF(560, 250), 170, QColor(0xCF, 0xEC, 0xFF, 150), 1.6);

    // A network of hosts around the globe.
    QRandomGenerator random(1388);
    QList<QPointF> nodes;
    for (int i = 0; i < 26; ++i) {
        const qreal angle = random.bounded(2 * M_PI);
        const qreal distance = 120 + random.bounded(200.0);
        nodes << QPointF(560 + distance * std::cos(angle), 250 + distance * 0.8 * std::sin(angle));
    }
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 60), 1));
    for (int i = 0; i < nodes.size(); ++i)
        for (int j = i + 1; j < nodes.size(); ++j)
            if (QLineF(nodes[i], nodes[j]).length() < 120)
                p.drawLine(nodes[i], nodes[j]);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < nodes.size(); ++i) {
        p.setBrush(i % 4 == 0 ? kAmber : QColor(0xE6, 0xF6, 0xFF));
        p.drawEllipse(nodes[i], 3.2, 3.2);
    }

    // Racks along the floor.
    p.fillRect(QRectF(0, 560, image.width(), 121), QColor(0x06, 0x1A, 0x2C, 150));
    for (int i = 0; i < 5; ++i)
        drawRack(p, QRectF(40 + i * 84, 330 + (i % 2) * 30, 70, 250 - (i % 2) * 30), 9 - (i % 2));

    p.setPen(Qt::white);
    p.setFont(face(64, true));
    p.drawText(QRectF(0, 560, image.width() - 40, 80), Qt::AlignRight | Qt::AlignVCenter, kProductName);
    p.setPen(QColor(0xCF, 0xEC, 0xFF));
    p.setFont(face(20));
    p.drawText(QRectF(0, 625, image.width() - 44, 40), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Corvanta"));
    return image;
}

// The about box picture (400 x 300 pixels); the web address sits where the window's
// clickable area lies (104, 200, 185 x 33).
QImage aboutPicture()
{
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.fillRect(image.rect(), Qt::white);
    QLinearGradient band(0, 0, image.width(), 0);
    band.setColorAt(0, kNavy);
    band.setColorAt(1, kTeal);
    p.fillRect(QRect(0, 0, image.width(), 150), band);
    drawGlobe(p, QPointF(72, 75), 55, QColor(0xCF, 0xEC, 0xFF, 170), 1.3);
    p.setPen(Qt::white);
    p.setFont(face(40, true));
    p.drawText(QRect(140, 20, 240, 70), Qt::AlignRight | Qt::AlignVCenter, kProductName);
    p.setFont(face(15));
    p.setPen(QColor(0xCF, 0xEC, 0xFF));
    p.drawText(QRect(140, 90, 238, 30), Qt::AlignRight | Qt::AlignVCenter, kProductCaption);

    p.setPen(QColor(0x44, 0x55, 0x66));
    p.setFont(face(13));
    p.drawText(QRect(20, 160, 360, 28), Qt::AlignCenter, QStringLiteral("Corvanta 1.1"));

    const QRectF link(104, 200, 185, 33);
    p.setPen(QPen(kTeal, 1.5));
    p.setBrush(QColor(0xE8, 0xF5, 0xF8));
    p.drawRoundedRect(link.adjusted(1, 1, -1, -1), 8, 8);
    p.setPen(kNavy);
    p.setFont(face(14, true));
    p.drawText(link, Qt::AlignCenter, kWebAddress);

    p.fillRect(QRect(0, 284, image.width(), 16), band);
    return image;
}

// A picture of the given size to paint on, see-through where nothing is painted.
QImage transparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The login window's key picture (62 x 58 pixels).
QImage keyPicture()
{
    QImage image = transparentCanvas(62, 58);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(31, 29);
    p.rotate(-35);
    QPainterPath key;
    key.addEllipse(QPointF(-14, 0), 12, 12);
    key.addRect(QRectF(-4, -3.5, 30, 7));
    key.addRect(QRectF(16, 3, 4, 7));
    key.addRect(QRectF(22, 3, 4, 9));
    key.addEllipse(QPointF(-17, 0), 4.5, 4.5);
    key.setFillRule(Qt::OddEvenFill);
    QLinearGradient gold(-26, -12, 26, 12);
    gold.setColorAt(0, QColor(0xFF, 0xD8, 0x6B));
    gold.setColorAt(1, QColor(0xC9, 0x86, 0x17));
    p.setPen(QPen(QColor(0x7A, 0x4E, 0x05), 1.4));
    p.setBrush(gold);
    p.drawPath(key.simplified());
    return image;
}

// The login window's user picture (42 x 37 pixels).
QImage userPicture()
{
    QImage image = transparentCanvas(42, 37);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 18, 0, 37);
    body.setColorAt(0, kTeal);
    body.setColorAt(1, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    QPainterPath shoulders;
    shoulders.moveTo(6, 36);
    shoulders.cubicTo(6, 22, 36, 22, 36, 36);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(QColor(0xF0, 0xC8, 0xA0));
    p.setPen(QPen(kNavy, 1.2));
    p.drawEllipse(QPointF(21, 12), 8, 9);
    return image;
}

// The clock: an SVG Tiny 1.2 document whose three hands turn by animateTransform from 12
// o'clock at the time the animation begins; the program moves that beginning back to
// midnight, so the hands show the time of day.
QByteArray clockDocument()
{
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\"\n"
           "     width=\"200\" height=\"200\" viewBox=\"0 0 200 200\">\n"
           "  <title>Clock</title>\n"
           "  <defs>\n"
           "    <radialGradient id=\"face\" cx=\"100\" cy=\"90\" r=\"100\" "
           "gradientUnits=\"userSpaceOnUse\">\n"
           "      <stop offset=\"0\" stop-color=\"#ffffff\"/>\n"
           "      <stop offset=\"1\" stop-color=\"#e3eef7\"/>\n"
           "    </radialGradient>\n"
           "  </defs>\n"
           "  <circle cx=\"100\" cy=\"100\" r=\"95\" fill=\"url(#face)\" stroke=\"#0e2a47\" "
           "stroke-width=\"7\"/>\n"
           "  <circle cx=\"100\" cy=\"100\" r=\"88\" fill=\"none\" stroke=\"#7fc4f0\" "
           "stroke-width=\"1.5\"/>\n";
    for (int i = 0; i < 60; ++i) {
        const bool hour = i % 5 == 0;
        const double angle = i * 6.0 * M_PI / 180.0;
        const double outer = 84, inner = hour ? 70 : 78;
        out << QStringLiteral(
                   "  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" "
                   "stroke-linecap=\"round\"/>\n")
                   .arg(100 + inner * std::sin(angle), 0, 'f', 2)
                   .arg(100 - inner * std::cos(angle), 0, 'f', 2)
                   .arg(100 + outer * std::sin(angle), 0, 'f', 2)
                   .arg(100 - outer * std::cos(angle), 0, 'f', 2)
                   .arg(hour ? QStringLiteral("#0e2a47") : QStringLiteral("#5a7a96"))
                   .arg(hour ? 4 : 1.5);
    }
    struct Hand
    {
        const char* id;
        int length;
        int tail;
        double width;
        const char* colour;
        int seconds; // one turn
    };
    const Hand hands[] = {
        {"hour", 48, 10, 7, "#0e2a47", 12 * 3600},
        {"minute", 70, 12, 4.5, "#117a8b", 3600},
        {"second", 78, 18, 1.8, "#d9480f", 60},
    };
    for (const Hand& hand : hands) {
        out << QStringLiteral("  <g id=\"%1\">\n").arg(QString::fromLatin1(hand.id))
            << QStringLiteral(
                   "    <line x1=\"100\" y1=\"%1\" x2=\"100\" y2=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                   "stroke-linecap=\"round\"/>\n")
                   .arg(100 + hand.tail)
                   .arg(100 - hand.length)
                   .arg(QString::fromLatin1(hand.colour))
                   .arg(hand.width)
            << QStringLiteral(
                   "    <animateTransform attributeName=\"transform\" type=\"rotate\" from=\"0 100 100\" "
                   "to=\"360 100 100\" begin=\"0s\" dur=\"%1s\" repeatCount=\"indefinite\"/>\n")
                   .arg(hand.seconds)
            << "  </g>\n";
    }
    out << "  <circle cx=\"100\" cy=\"100\" r=\"6\" fill=\"#d9480f\" stroke=\"#0e2a47\" "
           "stroke-width=\"2\"/>\n"
           "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    std::fprintf(stderr, "make_artwork: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "make_artwork: cannot create %s\n", argv[1]);
        return 1;
    }
    const QDir fonts(out.filePath(QStringLiteral("fonts")));
    for (const QString& file : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));

    bool ok = save(background(), out.filePath(QStringLiteral("corvanta.jpg")), "JPG", 90);
    ok = save(aboutPicture(), out.filePath(QStringLiteral("about.png")), "PNG") && ok;
    ok = save(keyPicture(), out.filePath(QStringLiteral("login_key.png")), "PNG") && ok;
    ok = save(userPicture(), out.filePath(QStringLiteral("login_user.png")), "PNG") && ok;
    ok = writeFile(out.filePath(QStringLiteral("clock1.swf")), clockDocument()) && ok;
    return ok ? 0 : 1;
}
