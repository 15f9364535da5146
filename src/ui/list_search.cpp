#include "ui/list_search.h"

#include "storage/csv_file.h"
#include "storage/data_source.h"
#include "storage/record_grid.h"
#include "storage/search_filter.h"
#include "ui/common_dialog.h"
#include "ui/persian_message_box.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {

const QString kSearchPlaceholder = QStringLiteral("جستجو");
const QString kOf = QStringLiteral(" از ");
const QString kExportCaption = QStringLiteral("ذخيره به صورت CSV");
const QString kCsvFilter = QStringLiteral("(*.csv)|*.csv");

// Layout of the row, in pixels.
constexpr int kRowHeight = 30;
constexpr int kBoxHeight = 24;
constexpr int kGap = 8;
constexpr int kMaxBoxWidth = 260;

// Return in the search box would press the window's default button (a delete, a choice):
// it does nothing there; Down moves to the grid. The box getting the focus reads the search
// index, so that the typing itself only scans it.
class SearchKeys : public QObject
{
public:
    SearchKeys(QLineEdit* box, QTableView* grid, SearchFilterModel* filter)
        : QObject(box), m_grid(grid), m_filter(filter)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // Read once the focus has settled and the window is drawn, at its first idle moment.
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, m_filter, [filter = m_filter] { filter->prepareIndex(); });
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down)
            m_grid->setFocus();
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down;
    }

private:
    QTableView* m_grid;
    SearchFilterModel* m_filter;
};

// Room for the row: the grid and everything at or below its top move down.
void makeRoom(QWidget* window, QTableView* grid)
{
    const int top = grid->y();
    for (QObject* child : window->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow() && w->y() >= top)
            w->move(w->x(), w->y() + kRowHeight);
    window->setFixedSize(window->width(), window->height() + kRowHeight);
}

// The rows of the grid for its CSV file: a record grid showing every row has them read from its
// data source in one pass; otherwise the shown rows are read through the grid, cell by cell.
std::function<bool(const CsvLine&)> gridRows(QTableView* grid, const QList<int>& columns)
{
    const QAbstractItemModel* model = grid->model();
    auto* records = qobject_cast<RecordGrid*>(grid);
    if (records && records->dataSource() && !records->searchFilter()->filtering()) {
        QStringList fields;
        for (int c : columns)
            fields << records->columnField(c);
        return [source = records->dataSource(), fields](const CsvLine& line) {
            return source->scanColumns(fields, [&line](int, const QStringList& cells) { line(cells); });
        };
    }
    return [model, columns](const CsvLine& line) {
        QStringList cells;
        for (int r = 0; r < model->rowCount(); ++r) {
            cells.clear();
            for (int c : columns)
                cells << model->index(r, c).data().toString();
            line(cells);
        }
        return true;
    };
}

QString countText(const SearchFilterModel* filter)
{
    return QString::number(filter->rowCount()) + kOf + QString::number(filter->sourceRowCount());
}

} // namespace

ListSearchRow addListSearch(QWidget* window, QTableView* grid, SearchFilterModel* filter, bool withExport,
                            std::function<void(const QString&)> search)
{
    ListSearchRow row;
    const QRect g = grid->geometry();
    makeRoom(window, grid);
    const int y = g.top() + (kRowHeight - kBoxHeight) / 2 - 2;
    const QFontMetrics metrics(window->font());
    const int countWidth =
        metrics.horizontalAdvance(QStringLiteral("000000") + kOf + QStringLiteral("000000")) + 6;
    const int buttonWidth = metrics.horizontalAdvance(kExportCaption) + 24;
    int free = g.width() - countWidth - kGap;
    if (withExport) {
        free -= buttonWidth + kGap;
        row.ExportCsv = new QPushButton(kExportCaption, window);
        row.ExportCsv->setObjectName(QStringLiteral("ExportCsv"));
        row.ExportCsv->setAutoDefault(false);
        row.ExportCsv->setGeometry(g.left(), y, buttonWidth, kBoxHeight);
        row.dialog =
            window->findChild<CommonDialog*>(QStringLiteral("CommonDialog1"), Qt::FindDirectChildrenOnly);
        if (!row.dialog) {
            row.dialog = new CommonDialog(window);
            row.dialog->setObjectName(QStringLiteral("CommonDialog1"));
        }
        QObject::connect(row.ExportCsv, &QPushButton::clicked, window,
                         [window, grid, dialog = row.dialog] { exportGridCsv(window, grid, dialog); });
    }
    const int boxWidth = std::min(kMaxBoxWidth, free);
    row.SearchBox = new QLineEdit(window);
    row.SearchBox->setObjectName(QStringLiteral("SearchBox"));
    row.SearchBox->setPlaceholderText(kSearchPlaceholder);
    row.SearchBox->setClearButtonEnabled(true);
    // Digits and Latin text start at the right too, as in the program's other Persian boxes.
    row.SearchBox->setAlignment(Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter);
    row.SearchBox->setGeometry(g.right() + 1 - boxWidth, y, boxWidth, kBoxHeight);
    new SearchKeys(row.SearchBox, grid, filter);

    row.SearchCount = new QLabel(window);
    row.SearchCount->setObjectName(QStringLiteral("SearchCount"));
    row.SearchCount->setAlignment(Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter);
    row.SearchCount->setGeometry(g.right() + 1 - boxWidth - kGap - countWidth, y, countWidth, kBoxHeight);
    row.SearchCount->setText(countText(filter));

    if (!search)
        search = [filter](const QString& text) { filter->setSearchText(text); };
    QObject::connect(row.SearchBox, &QLineEdit::textChanged, window, search);
    QObject::connect(filter, &SearchFilterModel::shownRowsChanged, row.SearchCount,
                     [label = row.SearchCount, filter] { label->setText(countText(filter)); });
    for (QWidget* w : {static_cast<QWidget*>(row.SearchBox), static_cast<QWidget*>(row.SearchCount),
                       static_cast<QWidget*>(row.ExportCsv)})
        if (w && window->isVisible())
            w->show();
    return row;
}

bool exportGridCsv(QWidget* window, QTableView* grid, CommonDialog* dialog)
{
    dialog->DialogTitle = kExportCaption;
    dialog->Filter = kCsvFilter;
    if (!dialog->ShowSave(window))
        return false;
    QString path = dialog->FileName;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");

    // The shown columns in the order the header shows them.
    const QAbstractItemModel* model = grid->model();
    const QHeaderView* header = grid->horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual)
        if (const int logical = header->logicalIndex(visual); !header->isSectionHidden(logical))
            columns << logical;
    QStringList captions;
    for (int c : columns)
        captions << model->headerData(c, Qt::Horizontal).toString().trimmed();
    QString error;
    if (!writeCsvFile(path, captions, gridRows(grid, columns), &error)) {
        PersianMsgBox(window, error, MsgBoxStyle::Exclamation, kExportCaption);
        return false;
    }
    return true;
}
