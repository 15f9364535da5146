#pragma once
// Program-wide notifications between windows that must not know each other: a window that
// changes what another window shows says so here, and the window that shows it (the main
// window) answers. One instance for the program, programEvents().
#include <QObject>
#include <QString>

class ProgramEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    // A customer was stored: the statistics panel shows the customer list's count anew.
    void customersChanged();
    // The main window's background picture should be the picture of this file. A file that is
    // missing or not a picture leaves the shown picture as it was.
    void backgroundPictureChosen(const QString& path);
};

ProgramEvents& programEvents();
