#pragma once
// Shared by the order tests: catalogue rows put straight into the test's db.mdb, stored orders
// read back from it, and a picker driven while the order entry window shows it modally.
#include "app/form_registry.h"
#include "orders/order_entry.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "support/test_support.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QMap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <sqlite3.h>

#include <functional>

namespace orders_test {

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

inline bool addCustomer(const QString& nuser, const QString& name, const QString& fname, const QString& email)
{
    return exec(QStringLiteral("INSERT INTO newmoshtary (nuser, name, fname, email, tell) VALUES (?, ?, ?, ?, '021')"),
                {nuser, name, fname, email});
}

// table is winhost or linhost.
inline bool addPlan(const QString& table, const QString& namep, const QString& ghemats, const QString& gs)
{
    return exec(QStringLiteral("INSERT INTO %1 (namep, mf, pb, ghemats, gs) VALUES (?, '500', '5000', ?, ?)").arg(table),
                {namep, ghemats, gs});
}

inline bool addExtension(const QString& pd, const QString& ghemats, const QString& gs)
{
    return exec(QStringLiteral("INSERT INTO newdomin (pd, ghemats, gs) VALUES (?, ?, ?)"), {pd, ghemats, gs});
}

// As the menu command does: new-record state, then the window (shown without waiting for it,
// so the test goes on).
inline Form10* openNewOrder()
{
    editState(Table::ss).setNewRecord();
    Form10* order = forms().get<Form10>();
    order->show();
    return order;
}

// Clicks Store. A message box coming up instead (a refused store) is closed, so the test goes
// on, and reported by the result.
inline bool clickStore(Form10* order)
{
    bool boxShown = false;
    QTimer guard;
    guard.setInterval(20);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != order && modal->isVisible()) {
            boxShown = true;
            modal->close();
        }
    });
    guard.start();
    QTest::mouseClick(order->Command5, Qt::LeftButton);
    return !boxShown;
}

// Types text as a keyboard does, Persian letters and digits included.
inline void typeText(QWidget* box, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Clicks an option button on its round indicator (at the right, the windows being right to left).
inline void clickOption(QWidget* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 8, option->height() / 2));
}

// Clicks `chooser` (a choose button of the order entry window) and runs `inside` on the picker
// it shows modally. `inside` ends by choosing or cancelling; a picker still shown afterwards is
// hidden (so the test does not hang) and reported.
template <class Picker>
bool withPicker(QWidget* chooser, const std::function<void(Picker*)>& inside)
{
    bool ran = false;
    bool leftOpen = false;
    {
        ModalAnswerer answer([&](QWidget* modal) {
            auto* picker = qobject_cast<Picker*>(modal);
            if (!picker) {
                modal->hide();
                return;
            }
            ran = true;
            inside(picker);
            if (picker->isVisible()) {
                leftOpen = true;
                picker->hide();
            }
        });
        QTest::mouseClick(chooser, Qt::LeftButton);
    }
    if (leftOpen)
        qWarning("the picker was still shown after the test's steps");
    return ran && !leftOpen;
}

// Moves a picker's grid to a row the way the user does, with a click on its first cell.
template <class Picker>
void clickRow(Picker* picker, int row)
{
    auto* grid = picker->DataGrid1;
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace orders_test
