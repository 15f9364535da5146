// The search index reads every shown cell of a list straight from the store's UTF-8 bytes, which
// a restored or damaged database may hold in any form: the key made from the bytes must be the
// key of the text they decode to, whatever they are.
#include "storage/search_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::string fromBytes = "x"; // appended to, as the index does
    std::string fromText = "x";
    appendSearchKey(bytes, fromBytes);
    appendSearchKey(QString::fromUtf8(bytes), fromText);
    if (fromBytes != fromText)
        std::abort();
    return 0;
}
