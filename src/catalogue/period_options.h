#pragma once
// The price period of plans and domain extensions (Form2 to Form4). Three option buttons set
// the period label's caption to one of the three price-period texts; the label is bound to
// `ghemats`, so the caption is what Save stores. A stored text is recognised only by exact
// equality.
#include "catalogue/catalogue_editor.h"

class QRadioButton;

class PricedEditor : public CatalogueEditor
{
    Q_OBJECT
public:
    QLabel* Label3 = nullptr; // "ثبت چند ساله :", caption of the period row
    QRadioButton* Option1 = nullptr; // one year
    QRadioButton* Option2 = nullptr; // two years
    QRadioButton* Option3 = nullptr; // five years

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();

protected:
    using CatalogueEditor::CatalogueEditor;

    // The layout the plan and domain editors share, in twips: the window's width and the
    // caption column at its right.
    static constexpr int kWidth = 6240;
    static constexpr int kCaptionLeft = 4200;
    static constexpr int kCaptionWidth = 1680;

    // The period row at `top` (twips): its caption in the caption column, the options to its
    // left, each setting the text of `periodLabel`.
    void addPeriodRow(int top, QLabel* periodLabel);
    // Turns on the option whose text the period label shows, testing five, two and one year in
    // that order. Any other text (or none) turns no option on and stays on the label unchanged.
    void recognisePeriod();

private:
    QLabel* m_periodLabel = nullptr;
};
