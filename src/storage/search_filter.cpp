#include "storage/search_filter.h"

#include "storage/search_text.h"

#include <QTimer>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
constexpr char kCellEnd = '\x01';
// Rows read again one by one when the index is carried over a re-read; beyond that one pass
// over the whole list is quicker.
constexpr size_t kMostRowsReadAgain = 2000;
// Rows whose keys are replaced where they stand (each moves the rest of the index); beyond that
// the index is copied over.
constexpr size_t kMostRowsEditedInPlace = 8;
} // namespace

SearchFilterModel::SearchFilterModel(QObject* parent) : QAbstractProxyModel(parent) {}

void SearchFilterModel::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    if (QAbstractItemModel* old = sourceModel())
        disconnect(old, nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    forgetIndex();
    if (source) {
        // Every change of the source's rows reads the index again (when a text is typed) and
        // filters anew; a changed cell only makes the index stale until the next keystroke.
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] { sourceReset(); });
        for (auto about :
             {&QAbstractItemModel::rowsAboutToBeInserted, &QAbstractItemModel::rowsAboutToBeRemoved})
            connect(source, about, this, [this] { beginResetModel(); });
        for (auto done : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(source, done, this, [this] { sourceReset(); });
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& from, const QModelIndex& to) {
                    m_indexed = false;
                    if (!m_rowIds.empty())
                        for (int r = from.row(); r <= to.row(); ++r)
                            m_staleIds.push_back(m_idOf(r));
                    for (int r = from.row(); r <= to.row(); ++r)
                        if (const int v = viewRow(r); v >= 0)
                            Q_EMIT dataChanged(index(v, from.column()), index(v, to.column()));
                });
        connect(source, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
    }
    sourceReset();
}

void SearchFilterModel::setRowIdentity(RowId idOf, ChangedIds changed)
{
    m_idOf = std::move(idOf);
    m_changed = std::move(changed);
    forgetIndex();
}

void SearchFilterModel::forgetIndex()
{
    m_indexed = false;
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_starts.clear();
    m_rowIds.clear();
    m_staleIds.clear();
}

void SearchFilterModel::sourceReset()
{
    m_indexed = false;
    // The index stays for the rows that did not change, when the source can say which did.
    const std::optional<std::vector<qint32>> changed =
        m_rowIds.empty() || !m_changed ? std::nullopt : m_changed();
    if (changed)
        m_staleIds.insert(m_staleIds.end(), changed->begin(), changed->end());
    else
        forgetIndex();
    if (filtering())
        findRows(m_needle, false);
    endResetModel();
    Q_EMIT shownRowsChanged();
    if (m_keepIndexed && !m_indexed)
        QTimer::singleShot(0, this, [this] {
            if (!m_indexed && sourceModel())
                buildIndex();
        });
}

void SearchFilterModel::prepareIndex()
{
    m_keepIndexed = true;
    if (!m_indexed && sourceModel())
        buildIndex();
}

void SearchFilterModel::setSearchText(const QString& text)
{
    if (text == m_text)
        return;
    std::string needle;
    appendSearchKey(text, needle);
    m_text = text;
    if (needle == m_needle)
        return;
    // A longer key that holds the previous one can only match rows that matched before.
    const bool narrowing = filtering() && needle.find(m_needle) != std::string::npos;
    beginResetModel();
    m_needle = std::move(needle);
    if (filtering())
        findRows(m_needle, narrowing);
    else
        m_shown.clear();
    endResetModel();
    Q_EMIT shownRowsChanged();
}

// The index of the rows as they are now, from the index as it was: the keys of a row whose ID was
// indexed and did not change since are kept; other rows are read again. False (nothing
// changed) when the rows are not in ascending ID order or too many changed.
bool SearchFilterModel::carryIndexOver()
{
    std::sort(m_staleIds.begin(), m_staleIds.end());
    m_staleIds.erase(std::unique(m_staleIds.begin(), m_staleIds.end()), m_staleIds.end());
    std::vector<qint32> ids(static_cast<size_t>(sourceRowCount()));
    for (size_t r = 0; r < ids.size(); ++r) {
        ids[r] = m_idOf(static_cast<int>(r));
        if (ids[r] <= 0 || (r > 0 && ids[r] <= ids[r - 1]))
            return false;
    }
    if (!editIndexInPlace(ids) && !copyIndexOver(ids))
        return false;
    m_rowIds = std::move(ids);
    m_staleIds.clear();
    return true;
}

// The common case after a save: the same rows as indexed (some perhaps added at the end), a few
// of them changed. Their keys are replaced where they stand, without a second copy of the index.
bool SearchFilterModel::editIndexInPlace(const std::vector<qint32>& ids)
{
    if (ids.size() < m_rowIds.size() || !std::equal(m_rowIds.begin(), m_rowIds.end(), ids.begin()))
        return false;
    std::vector<size_t> changed;
    for (const qint32 id : m_staleIds)
        if (const auto at = std::lower_bound(m_rowIds.begin(), m_rowIds.end(), id); at != m_rowIds.end() && *at == id)
            changed.push_back(static_cast<size_t>(at - m_rowIds.begin()));
    if (changed.size() > kMostRowsEditedInPlace)
        return false;
    for (const size_t r : changed) {
        const std::string keys = rowKeys(static_cast<int>(r));
        const quint32 length = m_starts[r + 1] - m_starts[r];
        m_keys.replace(m_starts[r], length, keys);
        // Unsigned arithmetic: adding the difference modulo 2^32 moves the later rows either way.
        const auto shift = static_cast<quint32>(keys.size()) - length;
        for (size_t later = r + 1; later < m_starts.size(); ++later)
            m_starts[later] += shift;
    }
    for (size_t r = m_rowIds.size(); r < ids.size(); ++r) {
        m_keys += rowKeys(static_cast<int>(r));
        m_starts.push_back(static_cast<quint32>(m_keys.size()));
    }
    return true;
}

// Any other change: the index is copied row by row into a new one.
bool SearchFilterModel::copyIndexOver(const std::vector<qint32>& ids)
{
    std::string keys;
    keys.reserve(m_keys.size() + m_keys.size() / 16);
    std::vector<quint32> starts;
    starts.reserve(ids.size() + 1);
    size_t old = 0;
    size_t readAgain = 0;
    for (size_t r = 0; r < ids.size(); ++r) {
        while (old < m_rowIds.size() && m_rowIds[old] < ids[r])
            ++old;
        starts.push_back(static_cast<quint32>(keys.size()));
        if (old < m_rowIds.size() && m_rowIds[old] == ids[r] &&
            !std::binary_search(m_staleIds.begin(), m_staleIds.end(), ids[r])) {
            keys.append(m_keys, m_starts[old], m_starts[old + 1] - m_starts[old]);
        } else if (++readAgain > kMostRowsReadAgain) {
            return false;
        } else {
            keys += rowKeys(static_cast<int>(r));
        }
    }
    starts.push_back(static_cast<quint32>(keys.size()));
    m_keys = std::move(keys);
    m_starts = std::move(starts);
    return true;
}

std::string SearchFilterModel::rowKeys(int row) const
{
    std::string keys;
    for (int c = 0; c < sourceModel()->columnCount(); ++c) {
        appendSearchKey(sourceModel()->index(row, c).data().toString(), keys);
        keys.push_back(kCellEnd);
    }
    return keys;
}

void SearchFilterModel::buildIndex()
{
    if (!m_rowIds.empty() && carryIndexOver()) {
        m_indexed = true;
        return;
    }
    m_keys.clear();
    m_starts.clear();
    const int rows = sourceRowCount();
    m_starts.reserve(static_cast<size_t>(rows) + 1);
    const RowVisitor add = [this, rows](int, const QList<QByteArrayView>& cells) {
        // Room for all rows, guessed from the first ones, so that the index is not copied while
        // it grows.
        if (m_starts.size() == 256)
            m_keys.reserve(m_keys.size() / 256 * static_cast<size_t>(rows) * 9 / 8);
        m_starts.push_back(static_cast<quint32>(m_keys.size()));
        for (const QByteArrayView cell : cells) {
            appendSearchKey(cell, m_keys);
            m_keys.push_back(kCellEnd);
        }
    };
    bool read = m_scan && m_scan(add) && m_starts.size() == static_cast<size_t>(rows);
    if (!read) {
        m_keys.clear();
        m_starts.clear();
        for (int r = 0; r < rows; ++r) {
            m_starts.push_back(static_cast<quint32>(m_keys.size()));
            m_keys += rowKeys(r);
        }
    }
    m_starts.push_back(static_cast<quint32>(m_keys.size()));
    if (m_keys.capacity() > m_keys.size() / 4 * 5)
        m_keys.shrink_to_fit();
    m_indexed = true;
    // The IDs, for carrying the index over the next re-read; only an ascending list is carried.
    m_rowIds.clear();
    m_staleIds.clear();
    if (m_idOf) {
        m_rowIds.resize(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r)
            m_rowIds[static_cast<size_t>(r)] = m_idOf(r);
        if (std::adjacent_find(m_rowIds.begin(), m_rowIds.end(), std::greater_equal<>()) != m_rowIds.end() ||
            (rows > 0 && m_rowIds.front() <= 0))
            m_rowIds.clear();
    }
}

void SearchFilterModel::findRows(const std::string& needle, bool narrowing)
{
    if (!m_indexed) {
        buildIndex();
        narrowing = false;
    }
    std::vector<int> shown;
    const char* keys = m_keys.data();
    const auto found = [&](size_t from, size_t to) {
        return memmem(keys + from, to - from, needle.data(), needle.size()) != nullptr;
    };
    if (narrowing) {
        for (int row : m_shown)
            if (found(m_starts[row], m_starts[row + 1]))
                shown.push_back(row);
    } else {
        // One pass over the whole index; after a hit the search goes on at the next row. The
        // row of a hit is found by walking on from the row of the previous one.
        size_t at = 0;
        size_t row = 0;
        const size_t end = m_keys.size();
        const size_t rows = m_starts.size() - 1;
        while (at < end) {
            const void* hit = memmem(keys + at, end - at, needle.data(), needle.size());
            if (!hit)
                break;
            const auto pos = static_cast<quint32>(static_cast<const char*>(hit) - keys);
            while (row + 1 < rows && m_starts[row + 1] <= pos)
                ++row;
            shown.push_back(static_cast<int>(row));
            at = m_starts[++row];
        }
    }
    m_shown = std::move(shown);
}

int SearchFilterModel::sourceRowCount() const
{
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

int SearchFilterModel::sourceRow(int viewRow) const
{
    if (viewRow < 0 || viewRow >= rowCount())
        return -1;
    return filtering() ? m_shown[static_cast<size_t>(viewRow)] : viewRow;
}

int SearchFilterModel::viewRow(int sourceRow) const
{
    if (sourceRow < 0 || sourceRow >= sourceRowCount())
        return -1;
    if (!filtering())
        return sourceRow;
    const auto it = std::lower_bound(m_shown.begin(), m_shown.end(), sourceRow);
    return it != m_shown.end() && *it == sourceRow ? static_cast<int>(it - m_shown.begin()) : -1;
}

QModelIndex SearchFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex SearchFilterModel::parent(const QModelIndex&) const
{
    return {};
}

int SearchFilterModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return filtering() ? static_cast<int>(m_shown.size()) : sourceRowCount();
}

int SearchFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QModelIndex SearchFilterModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel())
        return {};
    return sourceModel()->index(sourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex SearchFilterModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    return index(viewRow(sourceIndex.row()), sourceIndex.column());
}

QVariant SearchFilterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!sourceModel())
        return {};
    if (orientation == Qt::Vertical)
        return sourceModel()->headerData(sourceRow(section), orientation, role);
    return sourceModel()->headerData(section, orientation, role);
}
