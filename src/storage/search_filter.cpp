#include "storage/search_filter.h"

#include "storage/search_text.h"

#include <QTimer>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
constexpr char kCellEnd = '\x01';
} // namespace

SearchFilterModel::SearchFilterModel(QObject* parent) : QAbstractProxyModel(parent) {}

void SearchFilterModel::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    if (QAbstractItemModel* old = sourceModel())
        disconnect(old, nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    m_indexed = false;
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
                    for (int r = from.row(); r <= to.row(); ++r)
                        if (const int v = viewRow(r); v >= 0)
                            Q_EMIT dataChanged(index(v, from.column()), index(v, to.column()));
                });
        connect(source, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
    }
    sourceReset();
}

void SearchFilterModel::sourceReset()
{
    m_indexed = false;
    m_keys.clear();
    if (m_keys.capacity() > m_keys.size() / 4 * 5)
        m_keys.shrink_to_fit();
    m_starts.clear();
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

void SearchFilterModel::buildIndex()
{
    m_keys.clear();
    m_starts.clear();
    const int rows = sourceRowCount();
    m_starts.reserve(static_cast<size_t>(rows) + 1);
    const RowVisitor add = [this, rows](int, const QStringList& cells) {
        // Room for all rows, guessed from the first ones, so that the index is not copied while
        // it grows.
        if (m_starts.size() == 256)
            m_keys.reserve(m_keys.size() / 256 * static_cast<size_t>(rows) * 9 / 8);
        m_starts.push_back(static_cast<quint32>(m_keys.size()));
        for (const QString& cell : cells) {
            appendSearchKey(cell, m_keys);
            m_keys.push_back(kCellEnd);
        }
    };
    bool read = m_scan && m_scan(add) && m_starts.size() == static_cast<size_t>(rows);
    if (!read) {
        m_keys.clear();
        m_starts.clear();
        const int columns = sourceModel()->columnCount();
        QStringList cells;
        for (int r = 0; r < rows; ++r) {
            cells.clear();
            for (int c = 0; c < columns; ++c)
                cells << sourceModel()->index(r, c).data().toString();
            add(r, cells);
        }
    }
    m_starts.push_back(static_cast<quint32>(m_keys.size()));
    if (m_keys.capacity() > m_keys.size() / 4 * 5)
        m_keys.shrink_to_fit();
    m_indexed = true;
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
