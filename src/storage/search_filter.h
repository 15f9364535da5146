#pragma once
// The search of a list: a view of a table model that shows only the rows in which some column
// contains the typed text (compared by search keys, see search_text.h), in the model's order.
// An empty text shows every row. The rows' keys are read once per reset of the model, when the
// search box gets the focus or a text is first typed, and kept in one packed index that each
// keystroke scans.
#include <QAbstractProxyModel>
#include <QByteArrayView>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class SearchFilterModel : public QAbstractProxyModel
{
    Q_OBJECT
public:
    // Calls visit(row, cells) for every row of the source with the texts of its columns in
    // column order, in UTF-8; false when the rows cannot be read.
    using RowVisitor = std::function<void(int row, const QList<QByteArrayView>& cells)>;
    using RowScan = std::function<bool(const RowVisitor& visit)>;

    explicit SearchFilterModel(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    // How the index reads all rows at once (a data source's one-pass scan); without it the
    // source model's display texts are read cell by cell.
    void setRowScan(RowScan scan) { m_scan = std::move(scan); }
    // How the index outlives a re-read of the source: the ID of each source row, and the IDs of
    // the rows that changed with the source's last reset (none: any row may have). With both, a
    // re-read after this program's own saves keeps the keys of the other rows and reads only
    // those rows again, instead of the whole list.
    using RowId = std::function<qint32(int row)>;
    using ChangedIds = std::function<std::optional<std::vector<qint32>>()>;
    void setRowIdentity(RowId idOf, ChangedIds changed);

    void setSearchText(const QString& text);
    // Reads the index now (the search box got the focus), so that the first keystroke only
    // scans it; from then on a re-read of the source reads it again at the next idle moment.
    void prepareIndex();
    QString searchText() const { return m_text; }
    bool filtering() const { return !m_needle.empty(); }

    int sourceRowCount() const;
    // The row of the source shown at this row of the view, and back (-1 when hidden).
    int sourceRow(int viewRow) const;
    int viewRow(int sourceRow) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    // The set of shown rows changed (a new text, or the source was read again).
    void shownRowsChanged();

private:
    void buildIndex();
    bool carryIndexOver();
    bool editIndexInPlace(const std::vector<qint32>& ids);
    bool copyIndexOver(const std::vector<qint32>& ids);
    std::string rowKeys(int row) const;
    void forgetIndex();
    void findRows(const std::string& needle, bool narrowing);
    void sourceReset();

    RowScan m_scan;
    QString m_text;
    std::string m_needle;
    // The index: the keys of every row, each cell followed by '\x01' (a byte no key holds),
    // so that a match never spans two cells or two rows. Row r is [m_starts[r], m_starts[r+1]).
    std::string m_keys;
    std::vector<quint32> m_starts;
    bool m_indexed = false;
    RowId m_idOf;
    ChangedIds m_changed;
    // The ID of each indexed row, ascending, while the index can be carried over a re-read
    // (else empty), and the IDs whose keys in it are out of date.
    std::vector<qint32> m_rowIds;
    std::vector<qint32> m_staleIds;
    bool m_keepIndexed = false; // the search is in use: read the index ahead of the typing
    std::vector<int> m_shown; // source rows shown while filtering, ascending
};
