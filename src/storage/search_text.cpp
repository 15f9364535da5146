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

// Writes c in UTF-8 at p; returns the end.
char* putUtf8(char32_t c, char* p)
{
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return p;
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

namespace {

// Visible ASCII, the common case, written at once (Latin letters case-folded); false otherwise.
bool putVisibleAscii(char32_t u, char*& p)
{
    if (u >= 0x7F || u <= 0x20)
        return false;
    *p++ = static_cast<char>(u >= 'A' && u <= 'Z' ? u + 32 : u);
    return true;
}

// Appends a key of at most `most` bytes to out, written in place by write(begin) -> end; a null
// end takes back what was written and gives false.
template <class Write> bool appendInPlace(std::string& out, size_t most, Write write)
{
    const size_t at = out.size();
    out.resize(at + most);
    char* const begin = out.data() + at;
    const char* end = write(begin);
    out.resize(end ? at + static_cast<size_t>(end - begin) : at);
    return end != nullptr;
}

// The code point of the UTF-8 sequence at s[i] (i moved past it), or -1 when the bytes there
// are no well-formed UTF-8 (cut short, overlong, a surrogate, beyond U+10FFFF).
qint32 nextCodePoint(const unsigned char* s, qsizetype n, qsizetype& i)
{
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const unsigned char b = s[i];
    const int length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > n)
        return -1;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int j = 1; j < length; ++j) {
        if ((s[i + j] & 0xC0) != 0x80)
            return -1;
        c = (c << 6) | (s[i + j] & 0x3F);
    }
    if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return -1;
    i += length;
    return static_cast<qint32>(c);
}

} // namespace

void appendSearchKey(QStringView text, std::string& out)
{
    const KeyTable& table = keyTable();
    const qsizetype n = text.size();
    const char16_t* units = reinterpret_cast<const char16_t*>(text.data());
    // At most three bytes per code unit (a surrogate pair: four for two).
    appendInPlace(out, 3 * static_cast<size_t>(n), [&](char* p) {
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t k = putVisibleAscii(units[i], p) ? 0 : table[units[i]];
            if (k == 0)
                continue;
            if (QChar::isHighSurrogate(k) && i + 1 < n && QChar::isLowSurrogate(units[i + 1]))
                p = putUtf8(QChar::surrogateToUcs4(k, units[++i]), p);
            else
                p = putUtf8(k, p);
        }
        return p;
    });
}

void appendSearchKey(QByteArrayView utf8, std::string& out)
{
    const KeyTable& table = keyTable();
    const qsizetype n = utf8.size();
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    // A key is never more than half as long again as its UTF-8 text.
    const bool wellFormed = appendInPlace(out, 2 * static_cast<size_t>(n), [&](char* p) -> char* {
        for (qsizetype i = 0; i < n;) {
            if (putVisibleAscii(s[i], p)) {
                ++i;
                continue;
            }
            const qint32 c = nextCodePoint(s, n, i);
            if (c < 0)
                return nullptr;
            if (c >= 0x10000)
                p = putUtf8(static_cast<char32_t>(c), p);
            else if (const char16_t k = table[static_cast<size_t>(c)])
                p = putUtf8(k, p);
        }
        return p;
    });
    if (!wellFormed)
        appendSearchKey(QString::fromUtf8(utf8), out);
}
