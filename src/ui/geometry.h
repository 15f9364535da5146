#pragma once
// Window layouts are given in twips (1440 to the inch); at 96 dpi one pixel is 15 twips.
// Positions are measured from the left edge of the parent, whatever the layout direction.
#include <QFontMetrics>
#include <QLabel>
#include <QRect>
#include <QStyle>
#include <QVariant>
#include <QWidget>

#include <algorithm>

constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

inline void placeTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
}

// Lets a label placed by placeLabelTwips() grow to show its whole text in its font: taller
// around the same middle line, wider away from the side its text is aligned to. The layouts'
// label heights (often 195 twips) suit a compact face; Persian faces run taller and wider.
// Call it again after the text changes; it starts from the remembered twips rectangle.
inline void fitLabel(QLabel* label)
{
    QRect box = label->property("twipsRect").toRect();
    if (!box.isValid())
        box = label->geometry();
    const QFontMetrics metrics(label->font());
    const int extra = 2 * (label->margin() + label->frameWidth()) + 2;
    const int height = std::max(box.height(), metrics.height() + 2 * label->frameWidth());
    int width = box.width();
    if (!label->wordWrap() && label->textFormat() != Qt::RichText)
        width = std::max(width, metrics.horizontalAdvance(label->text()) + extra);
    const Qt::Alignment align = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
    int left = box.left();
    if (align & Qt::AlignRight)
        left = box.left() + box.width() - width;
    else if (align & Qt::AlignHCenter)
        left = box.left() - (width - box.width()) / 2;
    label->setGeometry(left, box.top() - (height - box.height()) / 2, width, height);
}

// placeTwips() for a label, then fitLabel().
inline void placeLabelTwips(QLabel* label, int left, int top, int width, int height)
{
    label->setProperty("twipsRect", twipsRect(left, top, width, height));
    fitLabel(label);
}
