#include "storage/data_source.h"

#include "storage/database.h"
#include "storage/program_folder.h"
#include "storage/record_store.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

#include <algorithm>

namespace {

const QString kProvider = QStringLiteral("Provider=Corvanta.SQLite;Data Source=");
const QString kNoCurrentRow = QStringLiteral("ركوردي انتخاب نشده است.");
const QString kNoQuery = QStringLiteral("پرس و جوي اين پنجره معلوم نيست.");

// Rows are read a page at a time; the cache keeps a few pages.
constexpr int kPageRows = 200;
constexpr size_t kCacheRows = 10 * kPageRows;

// What this program stored, per store, so that a list re-read after a save takes in the saved
// row without reading every ID again. Each change carries the store's change stamp before and
// after it; a snapshot can follow the changes from its own stamp only while they chain up.
struct Change
{
    quint64 store;
    quint64 before;
    quint64 after;
    QString table;
    char kind; // 'i'nsert, 'u'pdate, 'd'elete
    qint32 key;
};
std::deque<Change>& journal()
{
    static std::deque<Change> changes;
    return changes;
}

// Takes one change into the IDs of a whole-table snapshot (ascending); false when it cannot.
bool applyChange(std::vector<qint32>& keys, const Change& change)
{
    const auto at = std::lower_bound(keys.begin(), keys.end(), change.key);
    const bool present = at != keys.end() && *at == change.key;
    if (change.kind == 'd' && present)
        keys.erase(at);
    if (change.kind != 'i' || present)
        return true;
    if (at != keys.end())
        return false; // an ID below the last one: the order is no longer known
    keys.push_back(change.key);
    return true;
}

// The table of a query that reads a whole table, else the empty text.
QString wholeTable(const QString& query)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+(\\w+)\\s*;?\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const auto match = whole.match(query);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool hasOrder(const QString& query)
{
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"), QRegularExpression::CaseInsensitiveOption);
    return orderBy.match(query).hasMatch();
}

QStringList numbers(const std::vector<qint32>& keys)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(keys.size()));
    for (qint32 key : keys)
        texts << QString::number(key);
    return texts;
}

} // namespace

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() = default;

QString DataSource::connectionTextForProgramFolder()
{
    QString path = QDir::toNativeSeparators(programFolder()) + QDir::separator() + QStringLiteral("db.mdb");
    // A ";" would end the value early: such a path is written in double quotes, a quote in it doubled.
    if (path.contains(u';') || path.contains(u'"'))
        path = u'"' + path.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return kProvider + path + u';';
}

void DataSource::setConnectionString(const QString& text)
{
    m_connection = text;
}

QString DataSource::databasePath() const
{
    static const QRegularExpression source(QStringLiteral("Data Source=(?:\"((?:[^\"]|\"\")*)\"|([^;]*))"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto match = source.match(m_connection);
    if (!match.hasMatch())
        return QString();
    const QString path = match.hasCaptured(1)
                             ? match.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""))
                             : match.captured(2);
    return QDir::fromNativeSeparators(path);
}

void DataSource::setRecordSource(const QString& query)
{
    m_query = query;
}

QString DataSource::tableName() const
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    const auto match = from.match(m_query);
    return match.hasMatch() ? match.captured(1) : QString();
}

RecordStore* DataSource::store(QString* error) const
{
    const QString path = databasePath();
    return path.isEmpty() ? nullptr : Database::storeFor(path, error);
}

// The window's query as a subquery, so that any query can be read by ID or in part.
QString DataSource::wrappedQuery(const QString& select, const QString& where) const
{
    QString query = m_query.trimmed();
    while (query.endsWith(u';'))
        query = query.chopped(1).trimmed();
    return QStringLiteral("SELECT %1 FROM (%2) AS q").arg(select, query) +
           (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
}

// Rows of the snapshot by ID: from the table itself when the query reads all its columns, so
// that a row stored here since (a new row in an editor's empty query) is read back too.
QString DataSource::rowsQuery(const QString& select, const QString& where) const
{
    static const QRegularExpression star(QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+(\\w+)(\\s|;|$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = star.match(m_query);
    if (!match.hasMatch())
        return wrappedQuery(select, where);
    return QStringLiteral("SELECT %1 FROM %2").arg(select, match.captured(1)) +
           (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
}

bool DataSource::reportStoreError(RecordStore* store)
{
    setError(store->errorText());
    return false;
}

bool DataSource::refresh()
{
    m_lastError.clear();
    m_cache.clear();
    m_cacheOrder.clear();
    m_lastChanged.reset();
    QString openError;
    RecordStore* source = m_query.isEmpty() ? nullptr : store(&openError);
    bool ok = false;
    if (m_query.isEmpty())
        setError(kNoQuery);
    else if (!source)
        setError(openError);
    else
        ok = applyChangesSince(source) || readKeys(source);
    if (!ok) {
        m_keys.clear();
        m_snapshotQuery.clear();
    }
    m_current = 0;
    takeCurrent();
    Q_EMIT rowsReset();
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return ok;
}

// One pass reading only the IDs, in the query's order (by ID unless it orders itself).
bool DataSource::readKeys(RecordStore* source)
{
    const quint64 stamp = source->changeStamp();
    std::vector<qint32> keys;
    keys.reserve(m_keys.size());
    const QString sql = wrappedQuery(QStringLiteral("ID"), {}) + (hasOrder(m_query) ? QString() : QStringLiteral(" ORDER BY ID"));
    const bool read = source->select(sql, {}, [&](const RecordStore::Row& row) {
        keys.push_back(static_cast<qint32>(row.integer(0)));
        return true;
    });
    if (!read || !readColumns(source))
        return reportStoreError(source);
    m_keys = std::move(keys);
    m_ascending = std::adjacent_find(m_keys.begin(), m_keys.end(), std::greater_equal<>()) == m_keys.end();
    m_storeSerial = source->serial();
    m_stamp = stamp;
    m_snapshotQuery = m_query;
    return true;
}

bool DataSource::readColumns(RecordStore* source)
{
    return source->select(wrappedQuery(QStringLiteral("*"), QStringLiteral("ID BETWEEN 1 AND 0")), {},
                          [](const RecordStore::Row&) { return false; }, &m_columns);
}

// A re-read of a whole table after only this program's own changes takes in just those.
bool DataSource::applyChangesSince(RecordStore* source)
{
    const QString table = wholeTable(m_query);
    if (table.isEmpty() || m_snapshotQuery != m_query || m_storeSerial != source->serial() || !m_ascending)
        return false;
    const quint64 now = source->changeStamp();
    if (now == 0)
        return false;
    std::erase(m_keys, 0);
    std::vector<qint32> touched;
    quint64 at = m_stamp;
    for (const Change& change : journal()) {
        if (at == now)
            break;
        if (change.store != m_storeSerial || change.before != at)
            continue;
        if (change.table == table && !applyChange(m_keys, change))
            return false;
        if (change.table == table)
            touched.push_back(change.key);
        at = change.after;
    }
    m_stamp = now;
    if (at == now)
        m_lastChanged = std::move(touched);
    return at == now;
}

bool DataSource::fetchRows(const std::vector<qint32>& keys, const std::function<void(qint32, Cells&&)>& take) const
{
    RecordStore* source = store();
    const int idColumn = columnIndex(QStringLiteral("ID"));
    if (!source || idColumn < 0)
        return false;
    if (keys.empty())
        return true;
    const auto [low, high] = std::minmax_element(keys.begin(), keys.end());
    const bool range = m_ascending || static_cast<size_t>(*high - *low) < 2 * keys.size();
    const QString where = range ? QStringLiteral("ID BETWEEN ? AND ?")
                                : QStringLiteral("ID IN (%1)").arg(QStringList(static_cast<qsizetype>(keys.size()), QStringLiteral("?")).join(u','));
    const QStringList params = range ? QStringList{QString::number(*low), QString::number(*high)} : numbers(keys);
    return source->select(rowsQuery(QStringLiteral("*"), where), params, [&](const RecordStore::Row& row) {
        Cells cells;
        const int n = std::min(row.columnCount(), static_cast<int>(m_columns.size()));
        cells.reserve(n);
        for (int c = 0; c < n; ++c)
            cells << row.text(c);
        take(static_cast<qint32>(row.integer(idColumn)), std::move(cells));
        return true;
    });
}

const DataSource::Cells* DataSource::cellsAt(int row) const
{
    if (row < 0 || row >= recordCount() || m_keys[static_cast<size_t>(row)] == 0)
        return nullptr;
    const qint32 key = m_keys[static_cast<size_t>(row)];
    auto found = m_cache.find(key);
    if (found == m_cache.end()) {
        // Read the page around the row; a row that is gone is kept as having no cells.
        const int first = row - row % kPageRows;
        const int last = std::min(first + kPageRows, recordCount());
        std::vector<qint32> page;
        for (int r = first; r < last; ++r)
            if (m_keys[static_cast<size_t>(r)] != 0 && !m_cache.contains(m_keys[static_cast<size_t>(r)]))
                page.push_back(m_keys[static_cast<size_t>(r)]);
        std::unordered_map<qint32, Cells> read;
        fetchRows(page, [&read](qint32 id, Cells&& cells) { read[id] = std::move(cells); });
        for (qint32 id : page) {
            auto cells = read.find(id);
            keep(id, cells == read.end() ? Cells() : std::move(cells->second));
        }
        found = m_cache.find(key);
    }
    return found == m_cache.end() ? nullptr : &found->second;
}

void DataSource::keep(qint32 key, Cells&& cells) const
{
    if (m_cache.insert_or_assign(key, std::move(cells)).second)
        m_cacheOrder.push_back(key);
    while (m_cache.size() > kCacheRows) {
        m_cache.erase(m_cacheOrder.front());
        m_cacheOrder.pop_front();
    }
}

void DataSource::forget(qint32 key)
{
    if (m_cache.erase(key))
        std::erase(m_cacheOrder, key);
}

// The current row as read now: what the controls show and what an UPDATE compares with.
void DataSource::takeCurrent()
{
    const Cells* cells = cellsAt(m_current);
    m_read = cells ? *cells : Cells();
    m_readStale = false;
}

bool DataSource::addNew()
{
    m_lastError.clear();
    if (m_columns.isEmpty()) {
        // The query never ran (or failed): take the columns from the table itself.
        const QString table = tableName();
        for (const auto& t : Database::schema())
            if (t.name.compare(table, Qt::CaseInsensitive) == 0)
                m_columns = t.columns;
        if (m_columns.isEmpty()) {
            setError(kNoQuery);
            return false;
        }
    }
    m_keys.push_back(0);
    m_lastChanged.emplace();
    m_current = recordCount() - 1;
    takeCurrent();
    Q_EMIT rowInserted(m_current);
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return true;
}

// The columns whose bound control shows another value than was read (every bound column of
// a new row), with what the control shows; empty text is stored as NULL. A control still
// showing the value read in its own way has not changed it.
void DataSource::changedColumns(QStringList* columns, QStringList* values) const
{
    const bool isNew = isNewRow();
    const int idColumn = columnIndex(QStringLiteral("ID"));
    for (const Binding& b : m_bindings) {
        const int c = b.control ? columnIndex(b.column) : -1;
        if (c < 0 || c == idColumn || columns->contains(m_columns[c]))
            continue;
        const QString shown = controlText(b.control);
        const QString read = value(m_current, c);
        if (!isNew && (shown == read || (read == b.valuePut && shown == b.shownPut)))
            continue;
        *columns << m_columns[c];
        *values << (shown.isEmpty() ? QString() : shown);
    }
}

qint64 DataSource::inTransaction(RecordStore* source, char kind, qint32* key, const std::function<qint64()>& write)
{
    if (!source->begin()) {
        reportStoreError(source);
        return -1;
    }
    // Taken inside the transaction: no other connection can write between the two stamps.
    const quint64 before = source->changeStamp();
    qint64 changed = write();
    if (changed > 0 && !source->commit())
        changed = -1;
    if (changed <= 0) {
        if (changed < 0)
            reportStoreError(source);
        source->rollback();
        return changed;
    }
    const quint64 after = source->changeStamp();
    journal().push_back({source->serial(), before, after, tableName().toLower(), kind, *key});
    if (journal().size() > 4096)
        journal().pop_front();
    if (m_storeSerial == source->serial() && m_stamp == before)
        m_stamp = after;
    return changed;
}

bool DataSource::storeRow(RecordStore* source, const QStringList& columns, const QStringList& values, qint32* key)
{
    const QString table = tableName();
    if (*key == 0) {
        return inTransaction(source, 'i', key, [&]() -> qint64 {
            const qint64 id = source->insert(table, columns, values);
            *key = static_cast<qint32>(id);
            return id > 0 ? 1 : -1;
        }) > 0;
    }
    if (columns.isEmpty())
        return true;
    QStringList sets, same, params = values;
    params << QString::number(*key);
    for (const QString& column : columns) {
        sets << column + QStringLiteral("=?");
        same << source->nullSafeEquals(column);
        params << m_read.value(columnIndex(column));
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE ID=? AND %3").arg(table, sets.join(u','), same.join(QStringLiteral(" AND ")));
    const qint64 changed = inTransaction(source, 'u', key, [&] { return source->execute(sql, params); });
    if (changed == 0) {
        // Someone else changed or deleted the row: read it again at the next step. A row that
        // is gone cannot be stored again by a second save, so that is not offered.
        forget(*key);
        m_readStale = true;
        bool present = false;
        const QString exists = QStringLiteral("SELECT ID FROM %1 WHERE ID=?").arg(table);
        const bool read = source->select(exists, {QString::number(*key)}, [&present](const RecordStore::Row&) {
            present = true;
            return false;
        });
        setError(!read || present
                     ? QStringLiteral("کس ديگري در اين فاصله اين ركورد را تغيير داده است. "
                                      "ثبت دوباره، تغيير او را با آنچه نوشته ايد عوض مي کند.")
                     : QStringLiteral("کس ديگري در اين فاصله اين ركورد را پاک کرده است؛ ثبت آن ديگر ممکن نيست."));
    }
    return changed > 0;
}

bool DataSource::update()
{
    m_lastError.clear();
    if (eof()) {
        setError(kNoCurrentRow);
        return false;
    }
    QString openError;
    RecordStore* source = store(&openError);
    if (!source) {
        setError(openError);
        return false;
    }
    if (m_readStale)
        takeCurrent();
    QStringList columns, values;
    changedColumns(&columns, &values);
    qint32 key = m_keys[static_cast<size_t>(m_current)];
    if (!storeRow(source, columns, values, &key))
        return false;
    m_keys[static_cast<size_t>(m_current)] = key;
    m_lastChanged = std::vector<qint32>{key};
    if (m_current > 0 && m_keys[static_cast<size_t>(m_current) - 1] >= key)
        m_ascending = false;
    forget(key);
    takeCurrent();
    Q_EMIT rowUpdated(m_current);
    showCurrentInControls();
    return true;
}

bool DataSource::deleteCurrent()
{
    m_lastError.clear();
    if (eof()) {
        setError(kNoCurrentRow);
        return false;
    }
    qint32 key = m_keys[static_cast<size_t>(m_current)];
    if (key != 0) {
        QString openError;
        RecordStore* source = store(&openError);
        if (!source) {
            setError(openError);
            return false;
        }
        const QString sql = QStringLiteral("DELETE FROM %1 WHERE ID=?").arg(tableName());
        if (inTransaction(source, 'd', &key, [&] { return source->execute(sql, {QString::number(key)}); }) < 0)
            return false;
        forget(key);
    }
    const int removed = m_current;
    m_keys.erase(m_keys.begin() + removed);
    m_lastChanged = std::vector<qint32>{key};
    if (m_current >= recordCount())
        m_current = qMax(0, recordCount() - 1);
    takeCurrent();
    Q_EMIT rowRemoved(removed);
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return true;
}

bool DataSource::find(const QString& criterion)
{
    m_lastError.clear();
    static const QRegularExpression idIs(QStringLiteral("^\\s*ID\\s*=\\s*(-?\\d+)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = idIs.match(criterion);
    if (!match.hasMatch()) {
        setError(QStringLiteral("شرط جستجو درست نيست."));
        return false;
    }
    bool inRange = false;
    const qint32 wanted = match.captured(1).toInt(&inRange);
    const auto from = m_keys.begin() + std::clamp(m_current, 0, recordCount());
    const auto at = inRange && wanted != 0 ? std::find(from, m_keys.end(), wanted) : m_keys.end();
    m_current = static_cast<int>(at - m_keys.begin());
    takeCurrent();
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
    return !eof();
}

void DataSource::setCurrentRow(int row)
{
    row = qBound(0, row, recordCount());
    if (row == m_current)
        return;
    m_current = row;
    takeCurrent();
    showCurrentInControls();
    Q_EMIT currentRowChanged(m_current);
}

bool DataSource::isNewRow() const
{
    return !eof() && m_keys[static_cast<size_t>(m_current)] == 0;
}

qint32 DataSource::currentKey() const
{
    return eof() ? 0 : m_keys[static_cast<size_t>(m_current)];
}

qint32 DataSource::keyAt(int row) const
{
    return row >= 0 && row < recordCount() ? m_keys[static_cast<size_t>(row)] : 0;
}

QString DataSource::value(int row, int column) const
{
    const Cells* cells = row == m_current ? &m_read : cellsAt(row);
    return cells && column >= 0 && column < cells->size() ? cells->at(column) : QString();
}

bool DataSource::isNull(int row, int column) const
{
    const Cells* cells = row == m_current ? &m_read : cellsAt(row);
    return !cells || column < 0 || column >= cells->size() || cells->at(column).isNull();
}

bool DataSource::scanColumns(const QStringList& columns,
                             const std::function<void(int row, const QStringList& cells)>& visit)
{
    QStringList texts;
    return scanColumnBytes(columns, [&](int row, const ByteCells& cells) {
        texts.clear();
        for (const QByteArrayView cell : cells)
            texts << QString::fromUtf8(cell);
        visit(row, texts);
    });
}

bool DataSource::scanColumnBytes(const QStringList& columns, const std::function<void(int row, const ByteCells& cells)>& visit)
{
    m_lastError.clear();
    QList<int> indexes;
    for (const QString& column : columns)
        indexes << columnIndex(column);
    const auto stored = std::find(m_keys.begin(), m_keys.end(), 0) - m_keys.begin();
    bool ok = m_ascending ? scanInOrder(indexes, static_cast<int>(stored), visit) : scanInPages(indexes, visit);
    for (auto row = stored; ok && row < recordCount(); ++row)
        if (m_keys[static_cast<size_t>(row)] == 0)
            visit(static_cast<int>(row), ByteCells(indexes.size()));
    return ok;
}

// One pass over the store in ID order, matched against the snapshot's IDs.
bool DataSource::scanInOrder(const QList<int>& indexes, int stored, const std::function<void(int, const ByteCells&)>& visit)
{
    QStringList names{QStringLiteral("ID")};
    QList<int> at;
    for (int index : indexes) {
        at << (index < 0 ? -1 : static_cast<int>(names.size()));
        if (index >= 0)
            names << m_columns[index];
    }
    QString openError;
    RecordStore* source = store(&openError);
    if (!source) {
        setError(openError);
        return false;
    }
    int row = 0;
    ByteCells cells;
    const QString sql = rowsQuery(names.join(u','), {}) + QStringLiteral(" ORDER BY ID");
    const bool read = source->select(sql, {}, [&](const RecordStore::Row& r) {
        const auto id = static_cast<qint32>(r.integer(0));
        while (row < stored && m_keys[static_cast<size_t>(row)] < id)
            ++row; // gone since the snapshot
        if (row >= stored)
            return false;
        if (m_keys[static_cast<size_t>(row)] != id)
            return true; // stored since the snapshot
        cells.clear();
        for (int a : at)
            cells << (a < 0 ? QByteArrayView() : r.bytes(a));
        visit(row++, cells);
        return true;
    });
    return read || reportStoreError(source);
}

// For a query in an order of its own: the snapshot's pages one after another, uncached.
bool DataSource::scanInPages(const QList<int>& indexes, const std::function<void(int, const ByteCells&)>& visit)
{
    QList<QByteArray> utf8;
    ByteCells cells;
    for (int first = 0; first < recordCount(); first += kPageRows) {
        const int last = std::min(first + kPageRows, recordCount());
        std::vector<qint32> page(m_keys.begin() + first, m_keys.begin() + last);
        std::erase(page, 0);
        std::unordered_map<qint32, Cells> read;
        if (!fetchRows(page, [&read](qint32 id, Cells&& row) { read[id] = std::move(row); })) {
            setError(store() ? store()->errorText() : QString());
            return false;
        }
        for (int row = first; row < last; ++row) {
            auto found = read.find(m_keys[static_cast<size_t>(row)]);
            if (found == read.end())
                continue;
            utf8.clear();
            cells.clear();
            for (int index : indexes)
                utf8 << found->second.value(index).toUtf8();
            for (const QByteArray& cell : utf8)
                cells << cell;
            visit(row, cells);
        }
    }
    return true;
}

int DataSource::columnIndex(const QString& column) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString DataSource::field(const QString& column) const
{
    return value(m_current, columnIndex(column));
}

void DataSource::bind(QWidget* control, const QString& column)
{
    if (!control)
        return;
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setTextFormat(Qt::PlainText);
    m_bindings.push_back({control, column, {}, {}});
    showInControl(m_bindings.back());
}

void DataSource::showCurrentInControls()
{
    for (Binding& b : m_bindings)
        if (b.control)
            showInControl(b);
}

void DataSource::showInControl(Binding& binding)
{
    binding.valuePut = field(binding.column);
    setControlText(binding.control, binding.valuePut);
    binding.shownPut = controlText(binding.control);
}

void DataSource::setError(const QString& message)
{
    m_lastError = message;
}

QString DataSource::controlText(QWidget* control) const
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* text = qobject_cast<QTextEdit*>(control))
        return text->toPlainText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return {};
}

void DataSource::setControlText(QWidget* control, const QString& text) const
{
    if (controlText(control) == text)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(control))
        rich->setPlainText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
}
