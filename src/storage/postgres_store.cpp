#include "storage/postgres_store.h"

#include "storage/database.h"

#include <QHash>
#include <QRegularExpression>

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <utility>

namespace Postgres {

namespace {

const QString kCannotConnect = QStringLiteral("به سرور بانک اطلاعات وصل نشد: %1");
const QString kNotUsable = QStringLiteral("بانک اطلاعات سرور «%1» قابل استفاده نيست: %2\n"
                                          "نرم افزار چيزي در آن تغيير نمي دهد.");
const QString kNotOurs = QStringLiteral("جدول %1 در اين بانک اطلاعات از اين نرم افزار نيست (%2).");
const QString kCannotCreate = QStringLiteral("جدول هاي نرم افزار در بانک اطلاعات سرور ساخته نشد: %1");
const QString kLost = QStringLiteral(
    "ارتباط با سرور بانک اطلاعات قطع شد و اين کار انجام نشد. آنچه نوشته ايد در پنجره مانده است؛ "
    "دوباره سعي کنيد تا نرم افزار دوباره به سرور وصل شود.");

// What went wrong, told the user in Persian; the server's own words follow for support.
QString reasonFor(const char* state)
{
    const QByteArray code(state ? state : "");
    if (code.startsWith("08") || code.startsWith("57P"))
        return kLost;
    if (code.startsWith("23") || code.startsWith("22"))
        return QStringLiteral("بانک اطلاعات اين مقدار را نپذيرفت.");
    if (code == "42501")
        return QStringLiteral("کاربر سرور اجازه اين کار را در بانک اطلاعات ندارد.");
    if (code.startsWith("40") || code.startsWith("55"))
        return QStringLiteral("کاربر ديگري همزمان با همين ركوردها کار مي کند؛ کمي بعد دوباره سعي کنيد.");
    if (code.startsWith("53"))
        return QStringLiteral("جاي خالي يا حافظه سرور بانک اطلاعات تمام شده است.");
    return QStringLiteral("بانک اطلاعات اين کار را انجام نداد.");
}

QString engineWords(const char* text)
{
    return QString::fromUtf8(text ? text : "").trimmed();
}

std::map<QString, std::unique_ptr<Server>>& servers()
{
    static std::map<QString, std::unique_ptr<Server>> open;
    return open;
}

// Connection strings already reported since the last closeAll(), so a bad server is told
// once, not at every window that reads it.
std::set<QString>& reported()
{
    static std::set<QString> told;
    return told;
}

// Connection strings whose server could not be used, when, and why.
std::map<QString, std::pair<std::chrono::steady_clock::time_point, QString>>& lastFailures()
{
    static std::map<QString, std::pair<std::chrono::steady_clock::time_point, QString>> failures;
    return failures;
}

// A change stamp from the snapshot's upper bound and the transactions then running; never 0.
quint64 stampOf(const QString& xmax, const QString& running)
{
    const quint64 stamp = qHash(xmax + QLatin1Char(':') + running, 0x5eedu);
    return stamp ? stamp : 1;
}

QString tableList()
{
    QStringList names;
    for (const Database::TableSchema& table : Database::schema())
        names << QLatin1Char('\'') + table.name.toLower() + QLatin1Char('\'');
    return names.join(u',');
}

void appendCopyText(QByteArray& line, const QString& value)
{
    if (value.isNull()) {
        line += "\\N";
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    for (char c : utf8) {
        switch (c) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        default: line += c; break;
        }
    }
}

} // namespace

// ---- Connection strings ---------------------------------------------------------------------

QString checkConnectionString(const QString& conninfo)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        const QString message =
            QStringLiteral("رشته اتصال به سرور بانک اطلاعات درست نيست (%1).").arg(engineWords(error));
        PQfreemem(error);
        return message;
    }
    bool hasPassword = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val)
            hasPassword = true;
    PQconninfoFree(options);
    if (!hasPassword)
        return {};
    return QStringLiteral(
        "رشته اتصال به سرور رمز عبور دارد و نرم افزار رمز عبور را در تنظيمات نگه نمي دارد.\n"
        "رمز عبور را از رشته اتصال برداريد و در فايل رمز عبور libpq بنويسيد "
        "(در لينوکس ‎~/.pgpass‎ با اجازه دسترسي 0600، در ويندوز ‎%APPDATA%\\postgresql\\pgpass.conf‎).");
}

QByteArray numberedParameters(const QString& sql)
{
    const QByteArray in = sql.toUtf8();
    QByteArray out;
    out.reserve(in.size() + 16);
    char quote = 0;
    int number = 0;
    for (char c : in) {
        if (quote) {
            quote = c == quote ? 0 : quote; // a doubled quote closes and reopens: same result
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '?') {
            out += '$' + QByteArray::number(++number);
        } else {
            out += c;
        }
    }
    return out;
}

// ---- Results --------------------------------------------------------------------------------

Result::~Result()
{
    PQclear(m_result);
}

void Result::reset(pg_result* result)
{
    PQclear(m_result);
    m_result = result;
}

int Result::rowCount() const { return m_result ? PQntuples(m_result) : 0; }
int Result::columnCount() const { return m_result ? PQnfields(m_result) : 0; }
QString Result::columnName(int column) const { return QString::fromUtf8(PQfname(m_result, column)); }
bool Result::isNull(int row, int column) const { return PQgetisnull(m_result, row, column) != 0; }
const char* Result::cell(int row, int column) const { return PQgetvalue(m_result, row, column); }
int Result::cellLength(int row, int column) const { return PQgetlength(m_result, row, column); }

QString Result::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount() || isNull(row, column))
        return {};
    return QString::fromUtf8(cell(row, column), cellLength(row, column));
}

qint64 Result::affectedRows() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result)).toLongLong() : 0;
}

// ---- The server -----------------------------------------------------------------------------

Server::Server(const QString& conninfo) : m_conninfo(conninfo) {}

Server::~Server()
{
    if (m_conn)
        PQfinish(m_conn);
}

bool Server::connect()
{
    if (m_conn)
        PQfinish(m_conn);
    // Our defaults first: what the shop's connection string says comes later and wins.
    const QByteArray conninfo = m_conninfo.toUtf8();
    // Over a network, a server that went away is noticed within about half a minute rather
    // than when the system gives up on the connection.
    const char* keys[] = {"connect_timeout", "application_name", "client_encoding", "keepalives_idle",
                          "keepalives_interval", "keepalives_count", "tcp_user_timeout", "dbname", nullptr};
    const char* values[] = {"10", "corvanta", "UTF8", "30", "10", "3", "30000", conninfo.constData(), nullptr};
    m_conn = PQconnectdbParams(keys, values, 1);
    if (PQstatus(m_conn) == CONNECTION_OK) {
        PQsetClientEncoding(m_conn, "UTF8");
        // The server's notices (a ROLLBACK with nothing to undo) are not for the user.
        PQsetNoticeProcessor(m_conn, [](void*, const char*) {}, nullptr);
        m_lost = false;
        return true;
    }
    m_lastError = kCannotConnect.arg(engineWords(PQerrorMessage(m_conn)));
    if (PQconnectionNeedsPassword(m_conn))
        m_lastError += QStringLiteral(
            "\nسرور رمز عبور مي خواهد: آن را در فايل رمز عبور libpq (در لينوکس ‎~/.pgpass‎) بنويسيد.");
    return false;
}

bool Server::ensureConnected()
{
    m_lastError.clear();
    if (m_conn && PQstatus(m_conn) == CONNECTION_OK && !m_lost)
        return true;
    if (m_conn && m_lost) {
        PQreset(m_conn);
        if (PQstatus(m_conn) == CONNECTION_OK) {
            PQsetClientEncoding(m_conn, "UTF8");
            m_lost = false;
            return true;
        }
        m_lastError = kCannotConnect.arg(engineWords(PQerrorMessage(m_conn)));
        return false;
    }
    return connect();
}

// Takes over a libpq result: true when it failed (lastError() then says why). A dropped
// connection is remembered, so the next operation connects again.
bool Server::failed(pg_result* result)
{
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_SINGLE_TUPLE
        || status == PGRES_COPY_IN)
        return false;
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (PQstatus(m_conn) != CONNECTION_OK || !state) {
        m_lost = true;
        m_lastError = kLost;
    } else {
        m_lastError = reasonFor(state);
        if (m_lastError == kLost)
            m_lost = true;
    }
    const QString words = engineWords(result ? PQresultErrorMessage(result) : PQerrorMessage(m_conn));
    if (!words.isEmpty())
        m_lastError += QStringLiteral(" (") + words + QLatin1Char(')');
    return true;
}

bool Server::exec(const QString& sql, const QList<QString>& params, Result* result)
{
    m_committedStamp = 0;
    if (!ensureConnected())
        return false;
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    texts.reserve(static_cast<size_t>(params.size()));
    for (const QString& p : params) {
        texts.push_back(p.toUtf8());
        values.push_back(p.isNull() ? nullptr : texts.back().constData());
    }
    // Without parameters a text may hold several statements (the tables are made in one).
    pg_result* r = params.isEmpty() ? PQexec(m_conn, sql.toUtf8().constData())
                                    : PQexecParams(m_conn, numberedParameters(sql).constData(),
                                                   static_cast<int>(values.size()), nullptr, values.data(), nullptr,
                                                   nullptr, 0);
    if (failed(r)) {
        PQclear(r);
        return false;
    }
    if (result)
        result->reset(r);
    else
        PQclear(r);
    return true;
}

bool Server::stream(const QString& sql, const std::function<void(const Result& row)>& visit)
{
    if (!ensureConnected())
        return false;
    if (!PQsendQuery(m_conn, sql.toUtf8().constData()) || !PQsetSingleRowMode(m_conn))
        return !failed(nullptr);
    bool ok = true;
    Result row;
    while (pg_result* r = PQgetResult(m_conn)) {
        if (ok && failed(r)) {
            ok = false;
            PQclear(r);
            continue;
        }
        row.reset(r);
        if (ok && PQresultStatus(r) == PGRES_SINGLE_TUPLE)
            visit(row);
    }
    return ok;
}

bool Server::copyIn(const QString& table, const QStringList& columns, const std::function<bool(QList<QString>&)>& next)
{
    if (!ensureConnected())
        return false;
    const QString sql = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(u','));
    pg_result* start = PQexec(m_conn, sql.toUtf8().constData());
    if (failed(start)) {
        PQclear(start);
        return false;
    }
    PQclear(start);
    QList<QString> cells;
    QByteArray chunk;
    bool ok = true;
    while (ok && next(cells)) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i)
                chunk += '\t';
            appendCopyText(chunk, cells[i]);
        }
        chunk += '\n';
        if (chunk.size() > (1 << 16)) {
            ok = PQputCopyData(m_conn, chunk.constData(), static_cast<int>(chunk.size())) == 1;
            chunk.clear();
        }
    }
    if (ok && !chunk.isEmpty())
        ok = PQputCopyData(m_conn, chunk.constData(), static_cast<int>(chunk.size())) == 1;
    PQputCopyEnd(m_conn, ok ? nullptr : "stopped");
    bool done = ok;
    while (pg_result* r = PQgetResult(m_conn)) {
        if (failed(r))
            done = false;
        PQclear(r);
    }
    return done;
}

bool Server::begin()
{
    // The program's writers on every desk take turns, as they do on the database file, so that
    // no other desk's change falls between the stamps a data source takes around its own.
    return exec(QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(7340118)"));
}

bool Server::commit()
{
    // The stamp the server shows once this commit is in, as long as no other transaction ends
    // meanwhile: read inside the transaction, with this one counted as ended.
    Result now;
    quint64 expected = 0;
    if (exec(QStringLiteral("SELECT pg_current_snapshot()::text, pg_current_xact_id_if_assigned()::text"), {}, &now)
        && now.rowCount() == 1) {
        const QStringList parts = now.text(0, 0).split(u':');
        quint64 xmax = parts.value(1).toULongLong();
        if (!now.isNull(0, 1))
            xmax = std::max(xmax, now.text(0, 1).toULongLong() + 1);
        expected = parts.size() == 3 ? stampOf(QString::number(xmax), parts[2]) : 0;
    }
    if (!exec(QStringLiteral("COMMIT")))
        return false;
    m_committedStamp = expected;
    return true;
}

void Server::rollback()
{
    const QString kept = m_lastError; // the reason of the failure, not of the rollback
    if (m_conn && PQstatus(m_conn) == CONNECTION_OK)
        PQclear(PQexec(m_conn, "ROLLBACK"));
    m_lastError = kept;
}

} // namespace Postgres

// ---- Tables ---------------------------------------------------------------------------------

namespace Postgres {

namespace {

QString createTablesSql()
{
    QString sql;
    for (const Database::TableSchema& table : Database::schema()) {
        sql += QStringLiteral("CREATE TABLE ") + table.name
             + QStringLiteral(" (ID integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        for (qsizetype i = 1; i < table.columns.size(); ++i)
            sql += QStringLiteral(", ") + table.columns[i] + QStringLiteral(" text");
        sql += QStringLiteral(");");
    }
    return sql;
}

// The reason a table of ours as the server holds it is not ours; `columns` maps each column
// present to "type|has default".
QString tableProblem(const Database::TableSchema& table, const std::map<QString, QString>& columns)
{
    static const QStringList textTypes = {QStringLiteral("text"), QStringLiteral("character varying"),
                                          QStringLiteral("character")};
    for (const auto& present : columns)
        if (!table.columns.contains(present.first, Qt::CaseInsensitive))
            return kNotOurs.arg(table.name, present.first);
    for (const QString& column : table.columns) {
        const auto found = columns.find(column.toLower());
        if (found == columns.end())
            return kNotOurs.arg(table.name, column);
        const QString type = found->second.section(u'|', 0, 0);
        const bool keyed = found->second.section(u'|', 1, 1) == QLatin1String("1");
        const bool isKey = column.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0;
        if (isKey ? !((type == QLatin1String("integer") || type == QLatin1String("bigint")) && keyed)
                  : !textTypes.contains(type))
            return kNotOurs.arg(table.name, column + QLatin1Char(' ') + type);
    }
    return {};
}

} // namespace

// The empty text when the five tables are there as the program made them, after creating
// them in an empty database; else the reason the database is not ours.
QString Server::prepareTables(bool create)
{
    const QString query = QStringLiteral(
        "SELECT c.table_name, c.column_name, c.data_type, "
        "CASE WHEN c.is_identity = 'YES' OR c.column_default IS NOT NULL THEN '1' ELSE '0' END "
        "FROM information_schema.columns c JOIN information_schema.tables t "
        "ON t.table_schema = c.table_schema AND t.table_name = c.table_name "
        "WHERE c.table_schema = current_schema() AND t.table_type = 'BASE TABLE' AND c.table_name IN (%1)")
                              .arg(tableList());
    // Two desks starting at once on an empty database: one creates, the other then finds them.
    if (!begin() || !exec(QStringLiteral("SELECT pg_advisory_xact_lock(7340117)"))) {
        rollback();
        return m_lastError;
    }
    Result found;
    if (!exec(query, {}, &found)) {
        rollback();
        return m_lastError;
    }
    std::map<QString, std::map<QString, QString>> tables;
    for (int r = 0; r < found.rowCount(); ++r)
        tables[found.text(r, 0)][found.text(r, 1)] = found.text(r, 2) + QLatin1Char('|') + found.text(r, 3);
    QString problem;
    if (tables.empty()) {
        if (create && !exec(createTablesSql()))
            problem = kCannotCreate.arg(m_lastError);
    } else {
        for (const Database::TableSchema& table : Database::schema()) {
            const auto it = tables.find(table.name.toLower());
            problem = it != tables.end()
                          ? tableProblem(table, it->second)
                          : QStringLiteral(
                                "جدول %1 در اين بانک اطلاعات نيست، ولي جدول هاي ديگر اين نرم افزار هستند.")
                                .arg(table.name);
            if (!problem.isEmpty())
                break;
        }
    }
    if (problem.isEmpty() && !commit())
        problem = kCannotCreate.arg(m_lastError);
    if (!problem.isEmpty())
        rollback();
    return problem;
}

std::unique_ptr<Server> Server::open(const QString& conninfo, QString* error)
{
    QString problem = checkConnectionString(conninfo);
    std::unique_ptr<Server> server;
    if (problem.isEmpty()) {
        server.reset(new Server(conninfo));
        if (!server->connect())
            problem = server->lastError();
        else if (const QString tables = server->prepareTables(true); !tables.isEmpty())
            problem = kNotUsable.arg(conninfo, tables);
    }
    if (problem.isEmpty())
        return server;
    if (error)
        *error = problem;
    return nullptr;
}

Server* Server::forConnection(const QString& conninfo, QString* error)
{
    const auto known = servers().find(conninfo);
    if (known != servers().end())
        return known->second.get();
    // A server that did not answer is not tried again for a few seconds: the windows opening
    // one after another at start would each wait for it.
    auto& [failedAt, problem] = lastFailures()[conninfo];
    const auto now = std::chrono::steady_clock::now();
    std::unique_ptr<Server> server;
    if (problem.isEmpty() || now - failedAt > std::chrono::seconds(5))
        server = open(conninfo, &problem);
    if (!server) {
        failedAt = now;
        if (error)
            *error = problem;
        if (reported().insert(conninfo).second)
            Database::reportProblem(problem);
        return nullptr;
    }
    lastFailures().erase(conninfo);
    Server* opened = server.get();
    servers()[conninfo] = std::move(server);
    return opened;
}

void Server::closeAll()
{
    servers().clear();
    reported().clear();
    lastFailures().clear();
}

QString Server::testConnection(const QString& conninfo)
{
    QString problem = checkConnectionString(conninfo);
    if (!problem.isEmpty())
        return problem;
    Server server(conninfo);
    if (!server.connect())
        return server.lastError();
    problem = server.prepareTables(false);
    return problem.isEmpty() ? QString() : kNotUsable.arg(conninfo, problem);
}

} // namespace Postgres

// ---- The record store's operations ----------------------------------------------------------

namespace Postgres {

namespace {

class ServerRow final : public RecordStore::Row
{
public:
    explicit ServerRow(const Result& result) : m_result(result) {}
    int columnCount() const override { return m_result.columnCount(); }
    bool isNull(int column) const override { return m_result.isNull(m_row, column); }
    QByteArrayView bytes(int column) const override
    {
        return QByteArrayView(m_result.cell(m_row, column), m_result.cellLength(m_row, column));
    }
    qint64 integer(int column) const override { return QByteArray(m_result.cell(m_row, column)).toLongLong(); }
    int m_row = 0;

private:
    const Result& m_result;
};

// The server folds unquoted names to lower case; the program names the key column ID.
QString programName(const QString& column)
{
    return column == QLatin1String("id") ? QStringLiteral("ID") : column;
}

} // namespace

QString withKeyOrder(const QString& sql)
{
    static const QRegularExpression oneTable(
        QStringLiteral("^\\s*SELECT\\s[^()?]*\\bFROM\\s+(\\w+)(\\s+WHERE\\s[^()]*)?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression ordered(QStringLiteral("\\b(ORDER|GROUP|LIMIT|UNION|JOIN)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = sql.trimmed();
    if (!oneTable.match(trimmed).hasMatch() || ordered.match(trimmed).hasMatch())
        return sql;
    QString text = trimmed;
    if (text.endsWith(u';'))
        text.chop(1);
    return text + QStringLiteral(" ORDER BY ID");
}

bool Server::select(const QString& sql, const QStringList& params, const Visitor& visit, QStringList* columns)
{
    Result result;
    if (!exec(withKeyOrder(sql), params, &result))
        return false;
    if (columns) {
        columns->clear();
        for (int c = 0; c < result.columnCount(); ++c)
            columns->append(programName(result.columnName(c)));
    }
    ServerRow row(result);
    for (row.m_row = 0; row.m_row < result.rowCount(); ++row.m_row)
        if (!visit(row))
            break;
    return true;
}

qint64 Server::execute(const QString& sql, const QStringList& params)
{
    Result result;
    return exec(sql, params, &result) ? result.affectedRows() : -1;
}

qint64 Server::insert(const QString& table, const QStringList& columns, const QStringList& values)
{
    const QString sql = columns.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING ID").arg(table)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID")
                                  .arg(table, columns.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u','));
    Result result;
    if (!exec(sql, values, &result) || result.rowCount() != 1)
        return -1;
    return result.text(0, 0).toLongLong();
}

QStringList Server::tables()
{
    Result result;
    QStringList names;
    if (exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema()"),
             {}, &result))
        for (int r = 0; r < result.rowCount(); ++r)
            names << result.text(r, 0);
    return names;
}

QStringList Server::columns(const QString& table)
{
    Result result;
    QStringList names;
    if (exec(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = current_schema() "
                            "AND table_name = lower(?) ORDER BY ordinal_position"),
             {table}, &result))
        for (int r = 0; r < result.rowCount(); ++r)
            names << programName(result.text(r, 0));
    return names;
}

QString Server::nullSafeEquals(const QString& column) const
{
    return column + QStringLiteral(" IS NOT DISTINCT FROM ?");
}

quint64 Server::changeStamp()
{
    // The server's transactions as a snapshot shows them, less its oldest: it moves whenever a
    // transaction that wrote anything ends, on any connection. Right after a commit of ours,
    // the stamp that commit left (another desk may have written since).
    if (const quint64 committed = std::exchange(m_committedStamp, 0))
        return committed;
    Result now;
    if (!exec(QStringLiteral("SELECT pg_current_snapshot()::text"), {}, &now) || now.rowCount() != 1)
        return 0;
    const QStringList parts = now.text(0, 0).split(u':');
    return parts.size() == 3 ? stampOf(parts[1], parts[2]) : 0;
}

} // namespace Postgres
