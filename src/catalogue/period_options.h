#pragma once
// The price period of plans and domain extensions. Three option buttons set the period label's
// caption to one of the three price-period texts; the label is bound to `ghemats`, so the
// caption is what Save stores. A stored text is recognised only by exact equality.
#include <QString>

class QLabel;
class QRadioButton;

namespace PricePeriod {

// "one year", "two years", "five years", as stored in `ghemats` and shown on the period label.
const QString& oneYear();
const QString& twoYears();
const QString& fiveYears();

// Turns on the option whose text the period label shows, testing five, two and one year in
// that order. Any other text (or none) turns no option on and stays on the label unchanged.
void recognise(const QLabel* periodLabel, QRadioButton* option1, QRadioButton* option2, QRadioButton* option3);

} // namespace PricePeriod
