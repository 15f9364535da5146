// The amount reader: prices and costs are texts the user types (or a restored database holds);
// the order total reads each one with ReadAmount and writes the sum back with FormatAmount.
#include "orders/amounts.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = ReadAmount(text);
    if (std::isnan(value))
        std::abort(); // a text is a number or 0, never "not a number"
    const QString written = FormatAmount(value);
    // What the total writes, the next total reads back to the same number (15 digits kept).
    if (std::isfinite(value)) {
        const double again = ReadAmount(written);
        if (std::fabs(again - value) > std::fabs(value) * 1e-14)
            std::abort();
    }
    return 0;
}
