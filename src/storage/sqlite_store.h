#pragma once
// The record store over an SQLite file (db.mdb): one connection, owned by the store.
#include "storage/record_store.h"

struct sqlite3;

class SqliteStore final : public RecordStore
{
public:
    // Takes over an open connection and closes it when destroyed.
    explicit SqliteStore(sqlite3* handle);
    ~SqliteStore() override;

    bool select(const QString& sql, const QStringList& params, const Visitor& visit,
                QStringList* columns = nullptr) override;
    qint64 execute(const QString& sql, const QStringList& params = {}) override;
    bool begin() override;
    bool commit() override;
    void rollback() override;
    qint64 insert(const QString& table, const QStringList& columns, const QStringList& values) override;
    QStringList tables() override;
    QStringList columns(const QString& table) override;
    QString errorText() const override { return m_error; }
    QString nullSafeEquals(const QString& column) const override;
    quint64 changeStamp() override;

    sqlite3* handle() const { return m_handle; }

private:
    struct Statement;
    bool fail();
    sqlite3* m_handle;
    QString m_error;
    quint64 m_committedStamp = 0; // what the last commit left, until the next changeStamp()
};
