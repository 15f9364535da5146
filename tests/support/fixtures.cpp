#include "support/fixtures.h"

#include "orders/order_entry.h"
#include "storage/data_source.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "ui/form_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <sqlite3.h>

namespace fixtures {

namespace {
sqlite3* db()
{
    return Database::handleFor(programFile(QStringLiteral("db.mdb")));
}

sqlite3_stmt* prepare(const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (!db() || sqlite3_prepare_v2(db(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        qWarning("prepare failed: %s", db() ? sqlite3_errmsg(db()) : "no database");
        return nullptr;
    }
    return stmt;
}
} // namespace

bool exec(const QString& sql, const QStringList& params)
{
    sqlite3_stmt* stmt = prepare(sql);
    if (!stmt)
        return false;
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray utf8 = params[i].toUtf8();
        if (params[i].isNull())
            sqlite3_bind_null(stmt, i + 1);
        else
            sqlite3_bind_text(stmt, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

qint32 insert(const QString& table, const Row& values)
{
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, values.keys().join(u','), QStringList(values.size(), QStringLiteral("?")).join(u','));
    return exec(sql, values.values()) ? static_cast<qint32>(sqlite3_last_insert_rowid(db())) : 0;
}

QList<Row> rows(const QString& sql)
{
    QList<Row> result;
    sqlite3_stmt* stmt = prepare(sql);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            row[QString::fromUtf8(sqlite3_column_name(stmt, i))] =
                sqlite3_column_type(stmt, i) == SQLITE_NULL
                    ? QString()
                    : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
        result << row;
    }
    sqlite3_finalize(stmt);
    return result;
}

Row row(const QString& table, qint32 id)
{
    const auto found = rows(QStringLiteral("SELECT * FROM %1 WHERE ID=%2").arg(table).arg(id));
    return found.isEmpty() ? Row() : found.first();
}

int count(const QString& table)
{
    return static_cast<int>(rows(QStringLiteral("SELECT ID FROM %1").arg(table)).size());
}

std::unique_ptr<DataSource> openSource(const QString& query)
{
    auto source = std::make_unique<DataSource>();
    source->setConnectionString(DataSource::connectionTextForProgramFolder());
    source->setRecordSource(query);
    source->refresh();
    return source;
}

void typeText(QWidget* box, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QString savePicture(const QString& path, QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    if (!image.save(path, format))
        qWarning("could not write %s", qPrintable(path));
    return path;
}

struct ModalWatch::State
{
    QTimer timer;
    QStringList titles;
};

ModalWatch::ModalWatch(QWidget* except) : m_state(std::make_shared<State>())
{
    std::weak_ptr<State> weak = m_state;
    QObject::connect(&m_state->timer, &QTimer::timeout, [weak, except] {
        auto state = weak.lock();
        QWidget* modal = QApplication::activeModalWidget();
        if (!state || !modal || modal == except || !modal->isVisible())
            return;
        state->titles << modal->windowTitle();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box && !box->buttons().isEmpty())
            box->buttons().first()->click();
        else
            modal->close();
    });
    m_state->timer.start(10);
}

QStringList ModalWatch::titles() const
{
    return m_state->titles;
}

bool showsNothing(const std::function<void()>& command)
{
    ModalWatch watch;
    command();
    QTest::qWait(50);
    return watch.titles().isEmpty();
}

Form10* openNewOrder()
{
    editState(Table::ss).setNewRecord();
    Form10* order = forms().get<Form10>();
    order->show();
    return order;
}

Form10* openStoredOrder(qint32 key)
{
    editState(Table::ss) = EditState{key, true, false};
    Form10* order = forms().get<Form10>();
    order->show();
    return order;
}

bool clickStore(Form10* order)
{
    ModalWatch watch(order);
    QTest::mouseClick(order->Command5, Qt::LeftButton);
    return watch.titles().isEmpty();
}

void clickOption(QWidget* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 8, option->height() / 2));
}

} // namespace fixtures
