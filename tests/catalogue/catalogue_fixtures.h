#pragma once
// Shared by the catalogue tests: rows put straight into the test's db.mdb and read back from
// it, and a watch for modal windows that must not appear.
#include "storage/database.h"
#include "storage/program_folder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMap>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <sqlite3.h>

#include <memory>

namespace catalogue_test {

inline sqlite3* db()
{
    return Database::handleFor(programFile(QStringLiteral("db.mdb")));
}

// Runs one statement with text parameters (a null QString binds NULL); false on failure.
inline bool exec(const QString& sql, const QStringList& params = {})
{
    sqlite3_stmt* stmt = nullptr;
    if (!db() || sqlite3_prepare_v2(db(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        qWarning("prepare failed: %s", db() ? sqlite3_errmsg(db()) : "no database");
        return false;
    }
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].isNull()) {
            sqlite3_bind_null(stmt, i + 1);
        } else {
            const QByteArray utf8 = params[i].toUtf8();
            sqlite3_bind_text(stmt, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

// Inserts a row (column -> value, a null QString stores NULL) and returns its key, 0 on failure.
inline qint32 insert(const QString& table, const QMap<QString, QString>& values)
{
    QStringList marks;
    for (qsizetype i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, values.keys().join(u','), marks.join(u','));
    if (!exec(sql, values.values()))
        return 0;
    return static_cast<qint32>(sqlite3_last_insert_rowid(db()));
}

// Every row of a query as column name -> value; NULL reads as a null QString.
inline QList<QMap<QString, QString>> rows(const QString& sql)
{
    QList<QMap<QString, QString>> result;
    sqlite3_stmt* stmt = nullptr;
    if (!db() || sqlite3_prepare_v2(db(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return result;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QMap<QString, QString> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            row[name] = sqlite3_column_type(stmt, i) == SQLITE_NULL
                            ? QString()
                            : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
        }
        result << row;
    }
    sqlite3_finalize(stmt);
    return result;
}

inline QMap<QString, QString> row(const QString& table, qint32 id)
{
    const auto found = rows(QStringLiteral("SELECT * FROM %1 WHERE ID=%2").arg(table).arg(id));
    return found.isEmpty() ? QMap<QString, QString>() : found.first();
}

inline int count(const QString& table)
{
    return static_cast<int>(rows(QStringLiteral("SELECT ID FROM %1").arg(table)).size());
}

// Types text into a box key by key, as the user would (any script, unlike QTest::keyClicks).
inline void typeText(QWidget* box, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &release);
    }
}

// Watches for modal windows that should not come: once armed, records the title of any that
// shows and closes it by its first button, so that the test goes on and can fail.
class UnexpectedModals
{
public:
    UnexpectedModals() : m_state(std::make_shared<State>())
    {
        m_state->timer.setInterval(10);
        std::weak_ptr<State> weak = m_state;
        QObject::connect(&m_state->timer, &QTimer::timeout, [weak] {
            auto state = weak.lock();
            if (!state)
                return;
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            state->titles << modal->windowTitle();
            const auto buttons = modal->findChildren<QAbstractButton*>();
            if (!buttons.isEmpty())
                buttons.first()->click();
            else
                modal->close();
        });
    }
    void arm() { m_state->timer.start(); }
    QStringList titles() const { return m_state->titles; }

private:
    struct State
    {
        QTimer timer;
        QStringList titles;
    };
    std::shared_ptr<State> m_state;
};

} // namespace catalogue_test
