#pragma once
// Form4, the domain extension editor (newdomin): the extension without its dot, its price and
// the period the price covers.
#include "catalogue/period_options.h"

class QLineEdit;

class Form4 : public PricedEditor
{
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
    void Form_Load() override;

    QLabel* Label5 = nullptr;   // "پسوند دامنه :"
    QLineEdit* Text1 = nullptr; // pd, typed left to right
    QLabel* Label2 = nullptr;   // the notice about the dot
    QLabel* Label4 = nullptr;   // the period label, bound to ghemats
    QLineEdit* Text2 = nullptr; // gs
    QLabel* Label1 = nullptr;   // unit of Text2
};
