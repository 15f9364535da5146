#pragma once
// The record grid (DataGrid1): a read-only table over a DataSource's snapshot. The grid's
// current row is the data source's current row and back. Choosing a row (double click, Enter)
// and moving between rows are distinct signals. A cell keeps its text's own direction and cuts a
// long value at its end; the strip beside the rows marks the current one.
#include <QTableView>

#include <functional>

class DataSource;
class DataSourceModel;
class SearchFilterModel;

struct GridColumn
{
    QString caption; // header text, blanks kept
    QString field;   // column of the data source
    int widthTwips = 1515;
};

// The record grid's look on any table view: cells that keep their text's own direction and cut
// a long value at its logical end, centred column captions, the strip marking the current row,
// the grid's font and fixed row heights.
void applyRecordGridLook(QTableView* view);
// Each column of `model` (the view's rows before any search) as wide as its caption and the
// longest value of the first screen, up to a limit; designedWidth(column), in pixels, while
// the model is empty.
void fitGridColumns(QTableView* view, const QAbstractItemModel* model,
                    const std::function<int(int)>& designedWidth);

class RecordGrid : public QTableView
{
    Q_OBJECT
public:
    explicit RecordGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source, const QList<GridColumn>& columns);
    DataSource* dataSource() const { return m_source; }
    // Sets the header text of one column (zero-based); the others keep theirs.
    void setColumnCaption(int column, const QString& caption);
    QString columnCaption(int column) const;
    // The data source's column a grid column shows.
    QString columnField(int column) const;
    int columnCount() const;

    // The search of the list: only the rows holding the text are shown (all for an empty
    // text); the data source keeps all its rows. While a text hides rows, the data source's
    // current row is always a shown row, or past the last row when none is shown.
    void setSearchText(const QString& text);
    SearchFilterModel* searchFilter() const { return m_filter; }

Q_SIGNALS:
    // The user chose the current row (double click or Enter).
    void rowChosen();
    // The current row moved (click, keys, or the data source moving it).
    void rowChanged();
    // The same move, with the row that was current before.
    void rowColChanged(int lastRow);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void syncFromSource();
    void keepCurrentShown();
    // Each column as wide as its caption and the longest value of the first screen, up to a
    // limit; the designed widths while the grid is empty.
    void fitColumns();
    DataSource* m_source = nullptr;
    DataSourceModel* m_model = nullptr;
    SearchFilterModel* m_filter = nullptr;
    int m_lastRow = -1;
    bool m_syncing = false;
};
