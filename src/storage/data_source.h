#pragma once
// The data-source control (Adodc1) of a window: a connection text, one query, and a snapshot
// of the rows the query returned. The snapshot is windowed: it holds the IDs of its rows in
// order and reads the cells of the rows that are shown, found or bound when they are needed,
// a page at a time, keeping a bounded number of rows. Controls bound to columns show the current
// row; update() writes back what they show, and only while the row still holds what was read.
// Rows stored through another data source appear here only after refresh(). Operations report
// failure by their result (and lastError()), never by throwing.
#include <QObject>
#include <QByteArrayView>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class QWidget;
class RecordStore;

class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // The connection text each window builds at load:
    // "Provider=Corvanta.SQLite;Data Source=" + program folder + separator + "db.mdb;"; a path
    // holding ";" or a double quote stands in double quotes, with its quotes doubled.
    static QString connectionTextForProgramFolder();
    void setConnectionString(const QString& text);
    QString connectionString() const { return m_connection; }
    // The database file the connection text names.
    QString databasePath() const;

    void setRecordSource(const QString& query);
    QString recordSource() const { return m_query; }

    // Runs the query (again): the snapshot holds its rows, the first row is current.
    // On failure the snapshot is empty.
    bool refresh();
    // Appends an empty, not yet stored row and makes it current.
    bool addNew();
    // Writes what the bound controls show into the current row and stores it: INSERT for a
    // new row (which then gets its ID), UPDATE by ID otherwise; in one transaction. An UPDATE
    // writes only while the row still holds, in the columns it writes, what this data source
    // read; when someone else changed or deleted it meanwhile nothing is written, and the row
    // is read again at the next step. On failure the database and the controls are left as
    // they were.
    bool update();
    // Removes the current row from the table and from the snapshot.
    bool deleteCurrent();
    // "ID=<key>": the first matching row at or after the current row becomes current;
    // with no match the position is past the last row (eof()).
    bool find(const QString& criterion);

    int recordCount() const { return static_cast<int>(m_keys.size()); }
    // The current row: 0..recordCount()-1, or recordCount() past the last row (also when empty).
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    bool eof() const { return m_current < 0 || m_current >= recordCount(); }
    // True while the current row was added by addNew() and not yet stored.
    bool isNewRow() const;

    QStringList columnNames() const { return m_columns; }
    int columnIndex(const QString& column) const;
    // A field of the current row; empty text for NULL, an unknown column or no current row.
    QString field(const QString& column) const;
    // A field of any row (the grid reads these); empty text for NULL or out of range.
    QString value(int row, int column) const;
    bool isNull(int row, int column) const;
    // Calls visit(row, cells) for every row of the snapshot in row order, with the texts of the
    // named columns in the order named (empty text for NULL or an unknown column). For whole-list
    // work (search, export, renewals): one pass over the store, without disturbing the current
    // row, the bindings or the cache; rows deleted elsewhere since the snapshot are skipped.
    // False (and lastError()) when the rows cannot be read.
    bool scanColumns(const QStringList& columns,
                     const std::function<void(int row, const QStringList& cells)>& visit);
    // The same pass with the cells as the store hands them over, in UTF-8 (the search index
    // reads a whole list this way without making a QString of every cell).
    using ByteCells = QList<QByteArrayView>;
    bool scanColumnBytes(const QStringList& columns, const std::function<void(int row, const ByteCells& cells)>& visit);
    // ID of the current row, 0 when there is none or it is not stored yet.
    qint32 currentKey() const;
    // ID of a row of the snapshot, 0 for a row not stored yet or out of range.
    qint32 keyAt(int row) const;
    // The rows the last change of the snapshot touched, by ID: those of this program's saves that
    // a re-read took in, or the row an add, update or delete changed. None after a re-read that
    // read every ID again: then any row may differ from the snapshot before.
    const std::optional<std::vector<qint32>>& lastChangedKeys() const { return m_lastChanged; }

    // Binds a QLineEdit, QTextEdit, QPlainTextEdit or QLabel to a column.
    void bind(QWidget* control, const QString& column);

    QString lastError() const { return m_lastError; }
    // The table the query reads (after FROM).
    QString tableName() const;
    // How many rows' cells are held in memory now (never more than a few pages).
    int cachedRowCount() const { return static_cast<int>(m_cache.size()); }

Q_SIGNALS:
    void rowsReset();              // the snapshot was replaced (refresh) or cleared
    void rowInserted(int row);     // addNew appended a row
    void rowRemoved(int row);      // deleteCurrent removed a row
    void rowUpdated(int row);      // update stored a row
    void currentRowChanged(int row);

private:
    // The cells of one row as read: text per column, a null QString for NULL.
    using Cells = QStringList;
    struct Binding
    {
        QPointer<QWidget> control;
        QString column;
        // The value last put into the control and what the control then showed: a control may
        // show a value its own way (a several-line box turns "\r\n" into a line feed, a text box
        // holds 32767 characters), which is no change of the value.
        QString valuePut;
        QString shownPut;
    };

    RecordStore* store(QString* error = nullptr) const;
    QString wrappedQuery(const QString& select, const QString& where) const;
    QString rowsQuery(const QString& select, const QString& where) const;
    bool readKeys(RecordStore* store);
    bool readColumns(RecordStore* store);
    bool applyChangesSince(RecordStore* store);
    bool fetchRows(const std::vector<qint32>& keys, const std::function<void(qint32, Cells&&)>& take) const;
    const Cells* cellsAt(int row) const;
    void keep(qint32 key, Cells&& cells) const;
    void forget(qint32 key);
    void takeCurrent();
    bool reportStoreError(RecordStore* store);
    qint64 inTransaction(RecordStore* store, char kind, qint32* key, const std::function<qint64()>& write);
    bool storeRow(RecordStore* store, const QStringList& columns, const QStringList& values, qint32* key);
    void changedColumns(QStringList* columns, QStringList* values) const;
    bool scanInOrder(const QList<int>& indexes, int stored, const std::function<void(int, const ByteCells&)>& visit);
    bool scanInPages(const QList<int>& indexes, const std::function<void(int, const ByteCells&)>& visit);
    void showCurrentInControls();
    void showInControl(Binding& binding);
    void setError(const QString& message);
    QString controlText(QWidget* control) const;
    void setControlText(QWidget* control, const QString& text) const;

    QString m_connection;
    QString m_query;
    QStringList m_columns;
    // The snapshot: the ID of every row in order; 0 for a row added and not yet stored.
    std::vector<qint32> m_keys;
    bool m_ascending = true;       // the IDs ascend (pages are read by ID range)
    std::optional<std::vector<qint32>> m_lastChanged;
    quint64 m_storeSerial = 0;     // the store and its change stamp the snapshot was read from
    quint64 m_stamp = 0;
    QString m_snapshotQuery;
    // Bounded cache of rows by ID, oldest first out.
    mutable std::unordered_map<qint32, Cells> m_cache;
    mutable std::deque<qint32> m_cacheOrder;
    // The current row as read when it became current: what the controls showed, and what an
    // UPDATE compares with. Stale after a refused UPDATE until read again.
    Cells m_read;
    bool m_readStale = false;
    int m_current = 0;
    std::vector<Binding> m_bindings;
    QString m_lastError;
};
