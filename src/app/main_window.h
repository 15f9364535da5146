#pragma once
// Form1, the main window: the command menu, the background picture, the clock, today's date
// and the statistics panel. Closing it ends the program.
#include <QMainWindow>

class QLabel;

class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    void Form_Load();

    QLabel* Image1 = nullptr;  // background picture
    QLabel* Label14 = nullptr; // today's date
    QLabel* Label2 = nullptr;  // customer count
    QLabel* Label4 = nullptr;  // domain extension count
    QLabel* Label6 = nullptr;  // Windows plan count
    QLabel* Label8 = nullptr;  // Linux plan count
    QLabel* Label10 = nullptr; // order count
};
