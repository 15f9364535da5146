#include "orders/pdf_text.h"

#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cctype>
#include <optional>

// The PDF is read only as far as Qt's writer makes it: one cross-reference table at the end, no
// earlier updates, no encryption, each /ToUnicode map a stream of its own with a /Length of
// its own. Anything else is left as it is.
namespace {

bool isPresentationForm(char16_t unit)
{
    return (unit >= 0xFB50 && unit <= 0xFDFF) || (unit >= 0xFE70 && unit <= 0xFEFF);
}

// The letters a presentation form stands for; other code units stay as they are.
QString baseLetters(const QString& units, bool& changed)
{
    QString letters;
    for (const QChar unit : units) {
        const QString decomposed = QString(unit).normalized(QString::NormalizationForm_KC);
        const bool replace = isPresentationForm(unit.unicode()) && !decomposed.isEmpty() && decomposed != unit;
        letters += replace ? decomposed : QString(unit);
        changed = changed || replace;
    }
    return letters;
}

// A destination of a map (a hex string's digits) as UTF-16 code units, and back.
std::optional<QString> unitsOf(const QByteArray& hex)
{
    if (hex.isEmpty() || hex.size() % 4 != 0)
        return std::nullopt;
    QString units;
    for (qsizetype i = 0; i < hex.size(); i += 4)
        units += QChar(static_cast<char16_t>(hex.mid(i, 4).toUShort(nullptr, 16)));
    return units;
}

QByteArray hexOf(const QString& units)
{
    QByteArray hex = "<";
    for (const QChar unit : units)
        hex += QByteArray::number(unit.unicode(), 16).toUpper().rightJustified(4, '0');
    return hex + '>';
}

// The words of a bfchar or bfrange section: hex strings (their digits only), "[" and "]".
std::optional<QList<QByteArray>> tokensOf(const QByteArray& text)
{
    QList<QByteArray> tokens;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[' || c == ']') {
            tokens.append(QByteArray(1, c));
        } else if (c == '<') {
            const qsizetype end = text.indexOf('>', i);
            if (end < 0)
                return std::nullopt;
            QByteArray hex = text.mid(i + 1, end - i - 1);
            hex.replace(' ', "").replace('\n', "").replace('\r', "");
            if (!std::all_of(hex.cbegin(), hex.cend(), [](char h) { return std::isxdigit(static_cast<unsigned char>(h)); }))
                return std::nullopt;
            tokens.append(hex);
            i = end;
        } else if (!std::isspace(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
    }
    return tokens;
}

bool isBracket(const QByteArray& token)
{
    return token == "[" || token == "]";
}

// "<code> <letters>" entries.
std::optional<QByteArray> charEntries(const QList<QByteArray>& tokens, bool& changed)
{
    if (tokens.size() % 2 != 0)
        return std::nullopt;
    QByteArray entries = "\n";
    for (qsizetype i = 0; i < tokens.size(); i += 2) {
        const auto units = unitsOf(tokens[i + 1]);
        if (isBracket(tokens[i]) || tokens[i].isEmpty() || !units)
            return std::nullopt;
        entries += '<' + tokens[i] + "> " + hexOf(baseLetters(*units, changed)) + '\n';
    }
    return entries;
}

// "<first> <last> <letters of first>" entries (the last code unit counting up along the codes)
// and "<first> <last> [<letters> ...]" ones; a range that holds a presentation form is written
// out as a list.
std::optional<QByteArray> rangeEntries(const QList<QByteArray>& tokens, bool& changed)
{
    QByteArray entries = "\n";
    for (qsizetype i = 0; i < tokens.size();) {
        bool firstOk = false;
        bool lastOk = false;
        const uint first = tokens[i].toUInt(&firstOk, 16);
        const uint last = i + 2 < tokens.size() ? tokens[i + 1].toUInt(&lastOk, 16) : 0;
        if (!firstOk || !lastOk || last < first || last - first > 255)
            return std::nullopt;
        const QByteArray codes = '<' + tokens[i] + "> <" + tokens[i + 1] + "> ";
        QStringList letters;
        bool rangeChanged = false;
        if (tokens[i + 2] == "[") {
            for (i += 3; i < tokens.size() && !isBracket(tokens[i]); ++i) {
                const auto units = unitsOf(tokens[i]);
                if (!units)
                    return std::nullopt;
                letters << baseLetters(*units, rangeChanged);
            }
            if (i == tokens.size() || tokens[i] != "]" || letters.size() != qsizetype(last - first + 1))
                return std::nullopt;
            ++i;
        } else {
            const auto units = unitsOf(tokens[i + 2]);
            if (!units)
                return std::nullopt;
            for (uint k = 0; k <= last - first; ++k) {
                QString step = *units;
                step.back() = QChar(static_cast<char16_t>(step.back().unicode() + k));
                letters << baseLetters(step, rangeChanged);
            }
            if (!rangeChanged) {
                entries += codes + '<' + tokens[i + 2] + ">\n";
                i += 3;
                continue;
            }
            i += 3;
        }
        entries += codes + '[';
        for (const QString& l : letters)
            entries += hexOf(l) + ' ';
        entries += "]\n";
        changed = changed || rangeChanged;
    }
    return entries;
}

// The map with the destinations of its bfchar and bfrange sections in base letters; nothing when
// a section is not understood.
std::optional<QByteArray> cmapWithBaseLetters(const QByteArray& cmap, bool& changed)
{
    static const QRegularExpression section(QStringLiteral("begin(bfchar|bfrange)(.*?)end\\1"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QByteArray rewritten;
    qsizetype done = 0;
    for (const auto& m : section.globalMatch(QString::fromLatin1(cmap))) {
        const auto tokens = tokensOf(m.captured(2).toLatin1());
        const auto entries = !tokens                          ? std::nullopt
                             : m.captured(1) == QLatin1String("bfchar") ? charEntries(*tokens, changed)
                                                              : rangeEntries(*tokens, changed);
        if (!entries)
            return std::nullopt;
        rewritten += cmap.mid(done, m.capturedStart(2) - done) + *entries;
        done = m.capturedEnd(2);
    }
    return rewritten + cmap.mid(done);
}

struct XrefEntry
{
    qint64 offset = -1;
    int generation = 0;
};

struct PdfFile
{
    const QByteArray& bytes;
    QMap<int, XrefEntry> objects; // those in use
    qint64 xrefAt = -1;
    QByteArray trailer; // "<< ... >>"
};

// The cross-reference table's entries "first count" followed by count times "offset generation n|f".
bool readXrefEntries(PdfFile& pdf, const QList<QByteArray>& words)
{
    for (qsizetype i = 0; i < words.size();) {
        bool ok = false;
        const int first = words[i].toInt(&ok);
        const int count = ok && i + 1 < words.size() ? words[i + 1].toInt(&ok) : -1;
        if (!ok || first < 0 || count < 0 || i + 2 + 3 * qsizetype(count) > words.size())
            return false;
        for (int k = 0; k < count; ++k) {
            const QByteArray* entry = &words[i + 2 + 3 * k];
            bool offsetOk = false;
            bool generationOk = false;
            const XrefEntry read{entry[0].toLongLong(&offsetOk), entry[1].toInt(&generationOk)};
            if (!offsetOk || !generationOk || (entry[2] != "n" && entry[2] != "f"))
                return false;
            if (entry[2] == "n")
                pdf.objects.insert(first + k, read);
        }
        i += 2 + 3 * qsizetype(count);
    }
    return true;
}

bool readXref(PdfFile& pdf)
{
    const QByteArray& b = pdf.bytes;
    const qsizetype startxref = b.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    bool ok = false;
    pdf.xrefAt = b.mid(startxref + 9).simplified().split(' ').value(0).toLongLong(&ok);
    if (!ok || pdf.xrefAt <= 0 || pdf.xrefAt >= startxref || b.mid(pdf.xrefAt, 4) != "xref")
        return false;
    const qsizetype trailerAt = b.indexOf("trailer", pdf.xrefAt);
    if (trailerAt < 0 || trailerAt > startxref)
        return false;
    const QByteArray table = b.mid(pdf.xrefAt + 4, trailerAt - pdf.xrefAt - 4).simplified();
    if (!table.isEmpty() && !readXrefEntries(pdf, table.split(' ')))
        return false;
    pdf.trailer = b.mid(trailerAt + 7, startxref - trailerAt - 7).trimmed();
    return pdf.trailer.startsWith("<<") && pdf.trailer.endsWith(">>") && !pdf.trailer.contains("/Prev") &&
           !pdf.trailer.contains("/Encrypt");
}

// An object's words up to "stream" or "endobj", and where they end.
struct PdfObject
{
    QByteArray head;
    qsizetype headEnd = 0;
};

std::optional<PdfObject> objectAt(const PdfFile& pdf, int number)
{
    const auto it = pdf.objects.constFind(number);
    if (it == pdf.objects.cend())
        return std::nullopt;
    const QByteArray opening = QByteArray::number(number) + ' ' + QByteArray::number(it->generation) + " obj";
    if (it->offset < 0 || pdf.bytes.mid(it->offset, opening.size()) != opening)
        return std::nullopt;
    const qsizetype from = it->offset + opening.size();
    const qsizetype endobj = pdf.bytes.indexOf("endobj", from);
    const qsizetype stream = pdf.bytes.indexOf("stream", from);
    if (endobj < 0)
        return std::nullopt;
    const qsizetype end = stream >= 0 && stream < endobj ? stream : endobj;
    return PdfObject{pdf.bytes.mid(from, end - from), end};
}

// A stream's data, inflated when Flate-compressed; nothing for another filter.
std::optional<QByteArray> streamData(const PdfFile& pdf, int number)
{
    const auto object = objectAt(pdf, number);
    if (!object || pdf.bytes.mid(object->headEnd, 6) != "stream")
        return std::nullopt;
    static const QRegularExpression lengthKey(QStringLiteral("/Length\\s+(\\d+)(?:\\s+(\\d+)\\s+R)?"));
    const auto length = lengthKey.match(QString::fromLatin1(object->head));
    bool ok = length.hasMatch();
    qint64 size = length.captured(1).toLongLong();
    if (ok && length.hasCaptured(2)) {
        const auto lengthObject = objectAt(pdf, length.captured(1).toInt());
        size = lengthObject ? lengthObject->head.trimmed().toLongLong(&ok) : -1;
    }
    qsizetype start = object->headEnd + 6;
    start += pdf.bytes.mid(start, 2) == "\r\n" ? 2 : pdf.bytes.mid(start, 1) == "\n" ? 1 : 0;
    if (!ok || size < 0 || start == object->headEnd + 6 || start + size > pdf.bytes.size())
        return std::nullopt;
    const QByteArray data = pdf.bytes.mid(start, size);
    QByteArray head = object->head;
    head.replace(' ', "").replace('\n', "").replace('\r', "");
    if (!head.contains("/Filter"))
        return data;
    if (head.contains("/DecodeParms") ||
        (!head.contains("/Filter/FlateDecode") && !head.contains("/Filter[/FlateDecode]")))
        return std::nullopt;
    // qUncompress wants zlib's data after the size it will have (a guess it corrects).
    QByteArray sized(4, '\0');
    qToBigEndian(static_cast<quint32>(std::min<qint64>(size * 8 + 256, 1 << 24)), sized.data());
    const QByteArray inflated = qUncompress(sized + data);
    return inflated.isEmpty() ? std::nullopt : std::optional<QByteArray>(inflated);
}

// The PDF with the given streams replaced by an update appended at its end: the new objects
// under their old numbers, a cross-reference section for them, a trailer pointing back.
QByteArray withUpdate(const PdfFile& pdf, const QMap<int, QByteArray>& streams)
{
    QByteArray out = pdf.bytes;
    if (!out.endsWith('\n'))
        out += '\n';
    QByteArray xref = "xref\n";
    for (auto it = streams.cbegin(); it != streams.cend(); ++it) {
        const QByteArray number = QByteArray::number(it.key());
        const int generation = pdf.objects.value(it.key()).generation;
        xref += number + " 1\n" + QByteArray::number(out.size()).rightJustified(10, '0') + ' ' +
                QByteArray::number(generation).rightJustified(5, '0') + " n \n";
        out += number + ' ' + QByteArray::number(generation) + " obj\n<< /Length " +
               QByteArray::number(it->size()) + " >>\nstream\n" + *it + "\nendstream\nendobj\n";
    }
    const qsizetype xrefAt = out.size();
    const QByteArray trailer = pdf.trailer.chopped(2).trimmed();
    out += xref + "trailer\n" + trailer + "\n/Prev " + QByteArray::number(pdf.xrefAt) + "\n>>\nstartxref\n" +
           QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

} // namespace

QByteArray pdfWithBaseLetters(const QByteArray& pdf)
{
    PdfFile file{pdf, {}, -1, {}};
    if (!readXref(file))
        return pdf;
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+\\d+\\s+R"));
    QMap<int, QByteArray> rewritten;
    for (auto it = file.objects.cbegin(); it != file.objects.cend(); ++it) {
        const auto object = objectAt(file, it.key());
        const auto m = object ? toUnicode.match(QString::fromLatin1(object->head)) : QRegularExpressionMatch();
        const int number = m.hasMatch() ? m.captured(1).toInt() : -1;
        if (number < 0 || rewritten.contains(number))
            continue;
        const auto cmap = streamData(file, number);
        bool changed = false;
        const auto letters = cmap ? cmapWithBaseLetters(*cmap, changed) : std::nullopt;
        if (letters && changed)
            rewritten.insert(number, *letters);
    }
    return rewritten.isEmpty() ? pdf : withUpdate(file, rewritten);
}
