#include "storage/search_text.h"

#include <array>
#include <memory>

namespace {

// One entry per UTF-16 code unit: the unit it stands for in a search key, 0 when it is dropped.
using KeyTable = std::array<char16_t, 0x10000>;

void foldPersian(KeyTable& t)
{
    constexpr char16_t yeh = u'\u06CC', heh = u'\u0647', alef = u'\u0627';
    for (char16_t c : {u'\u064A', u'\u0649', u'\u06D2', u'\u0626'})
        t[c] = yeh;
    t[u'\u0643'] = u'\u06A9';
    for (char16_t c : {u'\u0629', u'\u06C0', u'\u06C1'})
        t[c] = heh;
    for (char16_t c : {u'\u0622', u'\u0623', u'\u0625'})
        t[c] = alef;
    t[u'\u0624'] = u'\u0648';
    for (char16_t d = 0; d < 10; ++d) {
        t[u'\u06F0' + d] = u'0' + d;
        t[u'\u0660' + d] = u'0' + d;
    }
    t[u'\u0640'] = 0; // tatweel
    for (char16_t c = u'\u064B'; c <= u'\u0655'; ++c)
        t[c] = 0;     // diacritics, madda, hamza above and below
    t[u'\u0670'] = 0; // superscript alef
}

const KeyTable& keyTable()
{
    static const std::unique_ptr<KeyTable> table = [] {
        auto t = std::make_unique<KeyTable>();
        for (int u = 0; u < 0x10000; ++u) {
            const QChar c(static_cast<char16_t>(u));
            if (c.isSurrogate())
                (*t)[u] = static_cast<char16_t>(u);
            else if (c.isSpace() || c.category() == QChar::Other_Control ||
                     c.category() == QChar::Other_Format)
                (*t)[u] = 0; // blanks, line ends, zero-width non-joiner and the other invisible marks
            else
                (*t)[u] = c.toCaseFolded().unicode();
        }
        foldPersian(*t);
        return t;
    }();
    return *table;
}

void appendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

QString searchKey(QStringView text)
{
    const KeyTable& table = keyTable();
    QString key;
    key.reserve(text.size());
    for (QChar c : text)
        if (const char16_t k = table[c.unicode()])
            key.append(QChar(k));
    return key;
}

void appendSearchKey(QStringView text, std::string& out)
{
    const KeyTable& table = keyTable();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x7F && u > 0x20) { // the common case: visible ASCII
            out.push_back(static_cast<char>(u >= 'A' && u <= 'Z' ? u + 32 : u));
            continue;
        }
        const char16_t k = table[u];
        if (k == 0)
            continue;
        if (QChar::isHighSurrogate(k) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            appendUtf8(QChar::surrogateToUcs4(k, text[i + 1].unicode()), out);
            ++i;
            continue;
        }
        appendUtf8(k, out);
    }
}
