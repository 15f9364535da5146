// The order-date text ("1388/11/07") that the renewals reckoning reads back from stored orders:
// any text a restored database holds reaches ReadPersianDateText.
#include "calendar/solar_hijri.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<PersianDate> date = ReadPersianDateText(text)) {
        // A date that reads must exist, and writing it again gives the same text, in ASCII digits.
        QString ascii = text;
        for (QChar& c : ascii)
            for (const char16_t zero : {char16_t(0x06F0), char16_t(0x0660)})
                if (c.unicode() >= zero && c.unicode() <= zero + 9)
                    c = QChar(u'0' + (c.unicode() - zero));
        const QDate gregorian = GregorianFromPersian(*date);
        if (!gregorian.isValid() || PersianDateText(gregorian, 0) != ascii)
            std::abort();
    }
    // The other way, from any day the clock or a stored date could give, in every style.
    if (size >= sizeof(qint64) + 1) {
        qint64 day = 0;
        std::memcpy(&day, data, sizeof day);
        const QDate date = QDate::fromJulianDay(day % 100000000);
        for (int style = 0; style < 4; ++style)
            (void)PersianDateText(date, style + data[sizeof day] % 3 - 1);
    }
    return 0;
}
