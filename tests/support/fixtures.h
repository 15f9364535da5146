#pragma once
// Shared by the test programs: rows put straight into the test's db.mdb and read back from it,
// data sources opened as the windows open them, a watch over modal windows, typing, pictures,
// and the order entry window driven with its pickers.
#include "support/test_support.h"

#include <QMap>
#include <QSize>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

class DataSource;
class Form10;

namespace fixtures {

// Captions of the message boxes' buttons and of the list windows' back button.
inline const QString kOk = QStringLiteral("تأييد");
inline const QString kYes = QStringLiteral("بله");
inline const QString kNo = QStringLiteral("نه");
inline const QString kBack = QStringLiteral("بازگشت");

// Column name -> value; a null QString stands for NULL.
using Row = QMap<QString, QString>;

// The price-period texts.
inline const QString kOneYear = QStringLiteral("قيمت يک ساله :");
inline const QString kTwoYears = QStringLiteral("قيمت دو ساله :");
inline const QString kFiveYears = QStringLiteral("قيمت پنج ساله :");

// One statement on the program folder's db.mdb with text parameters; false on failure.
bool exec(const QString& sql, const QStringList& params = {});
// Inserts a row and returns its key, 0 on failure.
qint32 insert(const QString& table, const Row& values);
QList<Row> rows(const QString& sql);
Row row(const QString& table, qint32 id);
int count(const QString& table);

// A data source over one query, opened the way every window opens it.
std::unique_ptr<DataSource> openSource(const QString& query);

// Types text key by key as a keyboard does, Persian letters and digits included.
void typeText(QWidget* box, const QString& text);

// A picture of one colour; the format follows the file's suffix unless given. Returns the path.
QString savePicture(const QString& path, QSize size, const char* format = nullptr);

// Records every modal window that shows while it lives (but `except`) and closes it, a message
// box by its first button, so that the test goes on and can fail.
class ModalWatch
{
public:
    explicit ModalWatch(QWidget* except = nullptr);
    QStringList titles() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Runs a command; true when it showed no modal window.
bool showsNothing(const std::function<void()>& command);

// The order entry window as the menu command opens it (new record) or as the order list does
// (stored order); shown without waiting, so that the test goes on.
Form10* openNewOrder();
Form10* openStoredOrder(qint32 key);
// Clicks Store; false when a message box came instead (it is closed).
bool clickStore(Form10* order);
// Clicks an option button on its round indicator (at the right, the windows being right to left).
void clickOption(QWidget* option);

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
    return ran && !leftOpen;
}

// Moves a grid to a row the way the user does, with a click on its first cell.
template <class Grid>
void clickRow(Grid* grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
}

} // namespace fixtures
