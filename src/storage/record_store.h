#pragma once
// What the data sources and the database layer need from a database engine: queries with bound
// text parameters whose rows are visited in place, statements that report how many rows they
// changed, transactions, inserting a row and learning its ID, the tables and columns present,
// and a Persian account of the last failure. One store per database; SQLite behind db.mdb
// (sqlite_store.h), a database server behind another implementation.
//
// SQL texts are written once for every engine:
// - parameters are `?` placeholders, numbered in the order they appear (an engine that numbers
//   them itself rewrites them); no `?` appears elsewhere in a text passed here;
// - a parameter is text; a null QString binds NULL. Integer columns are compared with text
//   parameters holding decimal numbers;
// - "a equals b, NULL equal to NULL" is written with nullSafeEquals();
// - nothing else engine-specific: no ROWID, no LIMIT without ORDER BY, identifiers unquoted.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

class RecordStore
{
public:
    // One result row while it is visited; valid only inside the visitor.
    class Row
    {
    public:
        virtual ~Row() = default;
        virtual int columnCount() const = 0;
        virtual bool isNull(int column) const = 0;
        // The cell as UTF-8 text (empty for NULL).
        virtual QByteArrayView bytes(int column) const = 0;
        // The cell as a whole number (0 for NULL or text that is none).
        virtual qint64 integer(int column) const = 0;
        // The cell as text: a null QString for NULL, otherwise never null (also when empty).
        QString text(int column) const;
    };
    // Returns false to stop the query early (that is no failure).
    using Visitor = std::function<bool(const Row& row)>;

    RecordStore();
    virtual ~RecordStore() = default;
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Runs a query and calls visit for each row in the order the engine returns them.
    // *columns (when given) receives the result's column names, also when no row comes back.
    // False when the query fails (errorText() says why).
    virtual bool select(const QString& sql, const QStringList& params, const Visitor& visit,
                        QStringList* columns = nullptr) = 0;
    // Runs one statement; the number of rows it changed, or -1 when it fails.
    virtual qint64 execute(const QString& sql, const QStringList& params = {}) = 0;

    // One transaction at a time. begin() takes the write lock at once where the engine has one,
    // so that a write between a check and the change is impossible.
    virtual bool begin() = 0;
    virtual bool commit() = 0;
    virtual void rollback() = 0;

    // Inserts one row (columns may be empty: a row of NULLs) and returns its new ID, or -1.
    virtual qint64 insert(const QString& table, const QStringList& columns, const QStringList& values) = 0;

    // The tables present (in any order), and the columns of one (empty when it is not there).
    virtual QStringList tables() = 0;
    virtual QStringList columns(const QString& table) = 0;

    // The last failure, in Persian, with the engine's own words in brackets for support.
    virtual QString errorText() const = 0;
    // The SQL comparing a column with a parameter NULL-safely ("col IS ?" or the engine's form).
    virtual QString nullSafeEquals(const QString& column) const = 0;

    // A number that changes whenever a row of this database may have changed, through this
    // store or any other connection; 0 when the engine cannot tell (then anything may have).
    // Called right after commit(), it gives the stamp that commit left, even when another
    // connection has written since.
    virtual quint64 changeStamp() = 0;

    // Distinguishes this store from any store opened earlier or later in the same run.
    quint64 serial() const { return m_serial; }

private:
    quint64 m_serial;
};
