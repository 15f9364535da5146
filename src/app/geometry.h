#pragma once
// Window layouts are given in twips (1440 to the inch); at 96 dpi one pixel is 15 twips.
// Positions are measured from the left edge of the parent, whatever the layout direction.
#include <QRect>
#include <QWidget>

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
