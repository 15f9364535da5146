#include "storage/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>

// The file keeps the INI layout that QSettings::IniFormat writes, where QSettings puts it (so
// files written by earlier versions read the same, and they read back there too), but it is read
// and written by the functions below. Qt's own INI reader turns a value that begins with
// "@Variant(" into whatever object its bytes describe; a damaged or hostile file could make it
// allocate without bound and end the program at start. Every value of ours is a text, so these
// functions only ever produce texts; a value Qt would decode into an object reads as empty.
// And a write either replaces the whole file or changes nothing, leaving no unwritten value
// behind in memory for the next reader.

namespace SettingsStore {

namespace {

bool isHexDigit(QChar c)
{
    return c.isDigit() || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Keys and section names: letters, digits and _ - . stay; "/" is "\"; every other character is
// %XX (up to U+00FF) or %UXXXX.
QString escapedKey(const QString& key)
{
    QString out;
    for (const QChar c : key) {
        const ushort u = c.unicode();
        if (c == u'/')
            out += u'\\';
        else if ((u < 0x80 && c.isLetterOrNumber()) || c == u'_' || c == u'-' || c == u'.')
            out += c;
        else if (u <= 0xFF)
            out += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QStringLiteral("%U%1").arg(u, 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

QString unescapedKey(QStringView key)
{
    QString out;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c == u'\\') {
            out += u'/';
            continue;
        }
        const bool wide = c == u'%' && i + 1 < key.size() && key[i + 1] == u'U';
        const qsizetype digits = wide ? 4 : 2;
        const qsizetype from = i + (wide ? 2 : 1);
        bool ok = c == u'%' && from + digits <= key.size();
        const uint code = ok ? key.mid(from, digits).toUInt(&ok, 16) : 0;
        if (ok) {
            out += QChar(char16_t(code));
            i = from + digits - 1;
        } else {
            out += c;
        }
    }
    return out;
}

// A value as Qt writes a text: "@" doubled at the start, control characters, quotes and
// backslashes escaped, quoted when it holds ; , = or begins or ends with a blank.
QString escapedValue(const QString& text)
{
    const QString value = text.startsWith(u'@') ? u'@' + text : text;
    static const QString named = QStringLiteral("\0\a\b\f\n\r\t\v");
    static const QString letters = QStringLiteral("0abfnrtv");
    QString out;
    bool hexNext = false; // after \x.. or \0 a hex digit would be read as part of the escape
    for (const QChar c : value) {
        const qsizetype escape = named.indexOf(c);
        if (hexNext && isHexDigit(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 0, 16);
        else if (escape >= 0)
            out += u'\\' + letters.at(escape);
        else if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 0, 16);
        else
            out += c;
        hexNext = (escape == 0 || (escape < 0 && c.unicode() < 0x20)) || (hexNext && isHexDigit(c));
    }
    const bool quoted = value.contains(u';') || value.contains(u',') || value.contains(u'=')
        || value.startsWith(u' ') || value.endsWith(u' ');
    return quoted ? u'"' + out + u'"' : out;
}

// Reads one value from `at` to the end of its line (past continuation lines and quoted line
// breaks), the way Qt reads it: spaces and tabs outside quotes trimmed at both ends (other
// blanks, which Qt writes unquoted, are kept), ";" outside quotes starts a comment, an unquoted
// "," separates the items of a list.
QStringList readValue(const QString& file, qsizetype& at)
{
    QStringList items;
    QString current;
    qsizetype kept = 0; // length of `current` up to its last character that is not a loose blank
    bool quoted = false;
    auto finishItem = [&] {
        current.truncate(kept);
        items += current;
        current.clear();
        kept = 0;
    };
    auto addKept = [&](QChar c) {
        current += c;
        kept = current.size();
    };
    while (at < file.size()) {
        if (!quoted && (file[at] == u'\n' || file[at] == u'\r'))
            break;
        const QChar c = file[at++];
        if (!quoted && c == u';') {
            while (at < file.size() && file[at] != u'\n' && file[at] != u'\r')
                ++at;
            break;
        }
        if (c == u'"') {
            quoted = !quoted;
            kept = current.size();
        } else if (!quoted && c == u',') {
            finishItem();
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (!current.isEmpty())
                current += c;
        } else if (c != u'\\') {
            addKept(c);
        } else if (at < file.size()) {
            const QChar e = file[at++];
            static const QString letters = QStringLiteral("abfnrtv\"'?\\");
            static const QString meant = QStringLiteral("\a\b\f\n\r\t\v\"'?\\");
            if (e == u'\r' && at < file.size() && file[at] == u'\n')
                ++at; // a line continued after CR LF
            if (e == u'\n' || e == u'\r')
                continue;
            if (letters.contains(e)) {
                addKept(meant.at(letters.indexOf(e)));
                continue;
            }
            const bool hex = e == u'x';
            if (!hex && (e < u'0' || e > u'7'))
                continue; // an unknown escape says nothing
            uint code = hex ? 0 : e.unicode() - u'0';
            while (at < file.size() && (hex ? isHexDigit(file[at]) : (file[at] >= u'0' && file[at] <= u'7')))
                code = std::min<uint>(code * (hex ? 16 : 8) + QString(file[at++]).toUInt(nullptr, 16), 0xFFFF);
            addKept(QChar(char16_t(code)));
        }
    }
    finishItem();
    return items;
}

// What a stored value means as a text: one item, "@@" for a leading "@", "@String(...)" and
// "@ByteArray(...)" for their contents; a list or any other "@" form is no text of ours.
QString valueText(const QStringList& items)
{
    if (items.size() != 1)
        return QString();
    const QString& value = items.first();
    if (!value.startsWith(u'@'))
        return value;
    if (value.startsWith(QStringLiteral("@@")))
        return value.mid(1);
    for (const QString& form : {QStringLiteral("@String("), QStringLiteral("@ByteArray(")}) {
        if (value.startsWith(form) && value.endsWith(u')')) {
            const QString inner = value.mid(form.size(), value.size() - form.size() - 1);
            return form.startsWith(QStringLiteral("@B")) ? QString::fromUtf8(inner.toLatin1()) : inner;
        }
    }
    return QString();
}

using Texts = QMap<QString, QString>; // "section/key" (or "key" outside a section) -> text

Texts parsed(const QString& file)
{
    Texts map;
    QString section;
    qsizetype at = 0;
    while (at < file.size()) {
        qsizetype end = at;
        while (end < file.size() && file[end] != u'\n' && file[end] != u'\r')
            ++end;
        const QStringView line = QStringView(file).mid(at, end - at).trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            if (name.compare(QStringLiteral("General"), Qt::CaseInsensitive) == 0)
                section.clear(); // the keys outside any section
            else if (name.compare(QStringLiteral("%General"), Qt::CaseInsensitive) == 0)
                section = QStringLiteral("General");
            else
                section = unescapedKey(name);
            at = end;
        } else if (equals > 0 && !line.startsWith(u';')) {
            const QString key = unescapedKey(line.first(equals).trimmed());
            at = file.indexOf(u'=', at) + 1;
            map.insert(section.isEmpty() ? key : section + u'/' + key, valueText(readValue(file, at)));
        } else {
            at = end;
        }
        ++at;
    }
    return map;
}

QByteArray serialized(const Texts& map)
{
    QString out;
    QString section = QStringLiteral("\n"); // no section is named so: the first key opens one
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        const QString name = slash < 0 ? QString() : it.key().first(slash);
        if (name != section) {
            section = name;
            const QString shown = name.compare(QStringLiteral("General"), Qt::CaseInsensitive) == 0
                ? u'%' + name
                : (name.isEmpty() ? QStringLiteral("General") : escapedKey(name));
            out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + u'[' + shown + QStringLiteral("]\n");
        }
        out += escapedKey(it.key().mid(slash + 1)) + u'=' + escapedValue(it.value()) + u'\n';
    }
    return out.toUtf8();
}

// The texts in the file; none when there is no file or it cannot be read.
Texts stored()
{
    QFile file(fileName());
    return file.open(QIODevice::ReadOnly) ? parsed(QString::fromUtf8(file.readAll())) : Texts();
}

QString groupKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QString read(const QString& section, const QString& key)
{
    return stored().value(groupKey(section, key));
}

bool write(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    const QString name = fileName();
    if (!QDir().mkpath(QFileInfo(name).path()))
        return false;
    // The lock QSettings takes too: two programs saving at once each keep the other's values.
    QLockFile lock(name + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return false;
    Texts texts = stored();
    for (const auto& [key, value] : values)
        texts.insert(groupKey(section, key), value);
    QSaveFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(serialized(texts)) >= 0 && file.commit();
}

bool write(const QString& section, const QString& key, const QString& value)
{
    return write(section, {{key, value}});
}

QString fileName()
{
    // Only the file's name: QSettings reads nothing of it until asked for a value.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kApplication).fileName();
}

} // namespace SettingsStore
