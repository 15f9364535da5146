#include "catalogue/period_options.h"

#include <QLabel>
#include <QRadioButton>

namespace {
const QString kOneYear = QStringLiteral("قيمت يک ساله :");
const QString kTwoYears = QStringLiteral("قيمت دو ساله :");
const QString kFiveYears = QStringLiteral("قيمت پنج ساله :");
} // namespace

namespace PricePeriod {

const QString& oneYear()
{
    return kOneYear;
}

const QString& twoYears()
{
    return kTwoYears;
}

const QString& fiveYears()
{
    return kFiveYears;
}

void recognise(const QLabel* periodLabel, QRadioButton* option1, QRadioButton* option2, QRadioButton* option3)
{
    // Three separate tests; turning an option on runs its click step, which writes the same
    // text back, so each test reads the caption afresh.
    if (periodLabel->text() == kFiveYears)
        option3->setChecked(true);
    if (periodLabel->text() == kTwoYears)
        option2->setChecked(true);
    if (periodLabel->text() == kOneYear)
        option1->setChecked(true);
}

} // namespace PricePeriod
