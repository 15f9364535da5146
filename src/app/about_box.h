#pragma once
// Form17, the about box: one picture, and over it an invisible area that opens our web site.
#include "ui/form.h"

#include <QPixmap>
#include <QUrl>

class QLabel;

class Form17 : public Form
{
    Q_OBJECT
public:
    explicit Form17(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr; // invisible clickable area with its own mouse pointer

    // The web site Image1 opens, and the picture file the window shows.
    static QUrl webSite();
    static QString pictureFile();

public Q_SLOTS:
    void Image1_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPixmap m_picture;
};
