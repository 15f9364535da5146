#include "catalogue/period_options.h"

#include "ui/controls.h"

#include <QLabel>
#include <QRadioButton>

namespace {
const QString kOneYear = QStringLiteral("قيمت يک ساله :");
const QString kTwoYears = QStringLiteral("قيمت دو ساله :");
const QString kFiveYears = QStringLiteral("قيمت پنج ساله :");
} // namespace

void PricedEditor::addPeriodRow(int top, QLabel* periodLabel)
{
    using namespace Controls;
    m_periodLabel = periodLabel;
    Label3 = label(this, "Label3", QStringLiteral("ثبت چند ساله :"), kCaptionLeft, top, kCaptionWidth);
    Option1 = option(this, "Option1", QStringLiteral("يک ساله"), 2880, top - 30, 1200);
    Option2 = option(this, "Option2", QStringLiteral("دو ساله"), 1680, top - 30, 1200);
    Option3 = option(this, "Option3", QStringLiteral("پنج ساله"), 480, top - 30, 1200);
    // Turning an option on, by a click or by the recognition at opening, runs its step.
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) { if (on) Option3_Click(); });
}

void PricedEditor::recognisePeriod()
{
    // Three separate tests; turning an option on runs its click step, which writes the same
    // text back, so each test reads the caption afresh.
    if (m_periodLabel->text() == kFiveYears)
        Option3->setChecked(true);
    if (m_periodLabel->text() == kTwoYears)
        Option2->setChecked(true);
    if (m_periodLabel->text() == kOneYear)
        Option1->setChecked(true);
}

void PricedEditor::Option1_Click()
{
    m_periodLabel->setText(kOneYear);
}

void PricedEditor::Option2_Click()
{
    m_periodLabel->setText(kTwoYears);
}

void PricedEditor::Option3_Click()
{
    m_periodLabel->setText(kFiveYears);
}
