#pragma once
// The data-source control (Adodc1) of a window: a connection text, one query, and a snapshot
// of the rows the query returned. Controls bound to columns show the current row; update()
// writes back what they show. Rows stored through another data source appear here only after
// refresh(). Operations report failure by their result (and lastError()), never by throwing.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // The connection text each window builds at load:
    // "Provider=Corvanta.SQLite;Data Source=" + program folder + separator + "db.mdb;".
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
    // new row (which then gets its ID), UPDATE by ID otherwise; in one transaction. On failure
    // the database and the controls are left as they were.
    bool update();
    // Removes the current row from the table and from the snapshot.
    bool deleteCurrent();
    // "ID=<key>": the first matching row at or after the current row becomes current;
    // with no match the position is past the last row (eof()).
    bool find(const QString& criterion);

    int recordCount() const { return static_cast<int>(m_rows.size()); }
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
    // work (search, export, renewals): one pass, without disturbing the current row or bindings.
    // False (and lastError()) when the rows cannot be read.
    bool scanColumns(const QStringList& columns,
                     const std::function<void(int row, const QStringList& cells)>& visit);
    // ID of the current row, 0 when there is none or it is not stored yet.
    qint32 currentKey() const;

    // Binds a QLineEdit, QTextEdit, QPlainTextEdit or QLabel to a column.
    void bind(QWidget* control, const QString& column);

    QString lastError() const { return m_lastError; }
    // The table the query reads (after FROM).
    QString tableName() const;

Q_SIGNALS:
    void rowsReset();              // the snapshot was replaced (refresh) or cleared
    void rowInserted(int row);     // addNew appended a row
    void rowRemoved(int row);      // deleteCurrent removed a row
    void rowUpdated(int row);      // update stored a row
    void currentRowChanged(int row);

private:
    // One snapshot row, packed: (columns + 1) offsets, then the UTF-8 text of all its cells.
    // The cells of all rows live in a few large blocks, which the next refresh() fills anew;
    // a stored or added row gets new cells there too.
    struct Row
    {
        const char* cells = nullptr;
        quint64 nulls = 0; // bit i set: column i is NULL
        bool isNew = false;
    };
    char* allocateCells(size_t size);
    struct Binding
    {
        QPointer<QWidget> control;
        QString column;
    };

    Row packRow(const QList<QByteArray>& values, quint64 nulls);
    bool readRow(qint64 id, Row* row);
    void showCurrentInControls();
    void setError(const QString& message);
    QString controlText(QWidget* control) const;
    void setControlText(QWidget* control, const QString& text) const;

    QString m_connection;
    QString m_query;
    QStringList m_columns;
    std::vector<Row> m_rows;
    struct Block
    {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
    };
    std::vector<Block> m_blocks; // kept across refreshes and filled again from the first
    size_t m_block = 0;          // the block being filled
    size_t m_blockUsed = 0;
    int m_current = 0;
    std::vector<Binding> m_bindings;
    QString m_lastError;
};
