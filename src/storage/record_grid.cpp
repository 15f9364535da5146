#include "storage/record_grid.h"

#include "storage/data_source.h"
#include "storage/search_filter.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QTextOption>

#include <algorithm>

// A read-only view of a data source's snapshot: it copies nothing, it reads the cells as the
// grid paints them.
class DataSourceModel : public QAbstractTableModel
{
public:
    DataSourceModel(DataSource* source, const QList<GridColumn>& columns, QObject* parent)
        : QAbstractTableModel(parent), m_source(source), m_columns(columns)
    {
        mapFields();
        connect(source, &DataSource::rowsReset, this, [this] { reset(); });
        connect(source, &DataSource::rowInserted, this, [this](int) { reset(); });
        connect(source, &DataSource::rowRemoved, this, [this](int) { reset(); });
        connect(source, &DataSource::rowUpdated, this, [this](int row) {
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_source->recordCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_source->value(index.row(), m_fieldIndex.value(index.column(), -1));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
            return m_columns[section].caption;
        if (orientation == Qt::Vertical && role == Qt::DisplayRole)
            return QString();
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void setCaption(int column, const QString& caption)
    {
        if (column < 0 || column >= m_columns.size())
            return;
        m_columns[column].caption = caption;
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    }
    QString caption(int column) const
    {
        return column >= 0 && column < m_columns.size() ? m_columns[column].caption : QString();
    }
    const QList<GridColumn>& columns() const { return m_columns; }

private:
    void reset()
    {
        beginResetModel();
        mapFields();
        endResetModel();
    }
    void mapFields()
    {
        m_fieldIndex.clear();
        for (const GridColumn& c : m_columns)
            m_fieldIndex << m_source->columnIndex(c.field);
    }

    DataSource* m_source;
    QList<GridColumn> m_columns;
    QList<int> m_fieldIndex;
};

namespace {

// Widest a column grows to fit its values, in average characters of the grid's font.
constexpr int kColumnLimitChars = 48;
// Rows measured for the column widths when the grid has not been laid out yet.
constexpr int kFirstScreenRows = 30;

// A cell's text keeps its own direction: an e-mail reads left to right even in a right-to-left
// grid, a Persian name right to left. A text too long for its cell is cut at its logical end,
// so the start of every value stays visible.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        // A cell is one line: the lines of a note follow each other, parted by blanks.
        QString text = opt.text;
        for (QChar& c : text)
            if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                c = u' ';
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        if (text.isEmpty())
            return;
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect box = opt.rect.adjusted(margin, 0, -margin, 0);
        QTextOption layout(QStyle::visualAlignment(opt.direction, opt.displayAlignment) | Qt::AlignAbsolute);
        layout.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        layout.setWrapMode(QTextOption::NoWrap);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(opt.font);
        // The painter's own direction also orders the laid-out text: when a whole window is
        // drawn at once it is the window's, and a right-to-left one would draw "-17" as "17-".
        painter->setLayoutDirection(layout.textDirection());
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(box, opt.fontMetrics.elidedText(text, Qt::ElideRight, box.width()), layout);
        painter->restore();
    }
};

// Column captions centred; the blanks a caption carries stay in the caption, not in the look.
class CaptionHeader : public QHeaderView
{
public:
    explicit CaptionHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->text = option->text.trimmed();
        option->textAlignment = Qt::AlignCenter;
    }
};

// The strip beside the rows marks the current row with an arrow pointing into it.
class RowSelector : public QHeaderView
{
public:
    explicit RowSelector(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

    void setSelectionModel(QItemSelectionModel* selection) override
    {
        QHeaderView::setSelectionModel(selection);
        if (selection)
            connect(selection, &QItemSelectionModel::currentRowChanged, viewport(),
                    qOverload<>(&QWidget::update));
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->save(); // the style leaves its own clip behind
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        if (!selectionModel() || selectionModel()->currentIndex().row() != logicalIndex)
            return;
        const qreal side = std::min(rect.width(), rect.height()) * 0.45;
        const QPointF centre = QRectF(rect).center();
        const qreal towardRow = isRightToLeft() ? -1 : 1; // the cells lie to the left in RTL
        QPainterPath arrow;
        arrow.moveTo(centre.x() - towardRow * side / 2, centre.y() - side / 2);
        arrow.lineTo(centre.x() + towardRow * side / 2, centre.y());
        arrow.lineTo(centre.x() - towardRow * side / 2, centre.y() + side / 2);
        arrow.closeSubpath();
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(arrow, palette().color(QPalette::WindowText));
        painter->restore();
    }
};

} // namespace

void applyRecordGridLook(QTableView* view)
{
    view->setHorizontalHeader(new CaptionHeader(view));
    view->setVerticalHeader(new RowSelector(view));
    view->setItemDelegate(new CellDelegate(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setWordWrap(false);
    QFont gridFont = QApplication::font();
    gridFont.setPointSizeF(8.25);
    view->setFont(gridFont);
    view->horizontalHeader()->setFont(gridFont);
    view->horizontalHeader()->setHighlightSections(false);
    // Fixed row heights: the view never measures all rows, however many there are.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->setFixedWidth(16);
}

void fitGridColumns(QTableView* view, const QAbstractItemModel* model,
                    const std::function<int(int)>& designedWidth)
{
    const QFontMetrics metrics = view->fontMetrics();
    const int limit = metrics.averageCharWidth() * kColumnLimitChars;
    const int rowHeight = std::max(1, view->verticalHeader()->defaultSectionSize());
    const int rows =
        std::min(model->rowCount(), std::max(kFirstScreenRows, view->viewport()->height() / rowHeight + 1));
    const int padding = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 6;
    const QFontMetrics headerMetrics(view->horizontalHeader()->font());
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString caption = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        int widest = headerMetrics.horizontalAdvance(caption.trimmed());
        for (int row = 0; row < rows; ++row)
            widest = std::max(widest, metrics.horizontalAdvance(model->index(row, column).data().toString()));
        // An empty grid keeps the designed widths until it has values to fit.
        view->setColumnWidth(column, rows == 0 ? designedWidth(column) : std::min(widest + padding, limit));
    }
}

RecordGrid::RecordGrid(QWidget* parent) : QTableView(parent)
{
    applyRecordGridLook(this);
    m_filter = new SearchFilterModel(this);
}

void RecordGrid::setDataSource(DataSource* source, const QList<GridColumn>& columns)
{
    m_source = source;
    auto* old = m_model;
    m_model = new DataSourceModel(source, columns, this);
    // The grid shows its rows through the search filter (every row while no text is typed).
    QStringList fields;
    for (const GridColumn& c : columns)
        fields << c.field;
    m_filter->setRowScan([source, fields](const SearchFilterModel::RowVisitor& visit) {
        return source->scanColumnBytes(fields, visit);
    });
    m_filter->setRowIdentity([source](int row) { return source->keyAt(row); },
                             [source] { return source->lastChangedKeys(); });
    m_filter->setSourceModel(m_model);
    setModel(m_filter);
    delete old;
    fitColumns();

    connect(source, &DataSource::currentRowChanged, this, [this] {
        keepCurrentShown();
        syncFromSource();
    });
    // Columns fit the rows as read; a typed search shows fewer of them but keeps the widths.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { fitColumns(); });
    connect(m_filter, &QAbstractItemModel::modelReset, this, [this] {
        keepCurrentShown();
        syncFromSource();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (m_syncing || !m_source)
                    return;
                const int lastRow = previous.isValid() ? m_filter->sourceRow(previous.row()) : m_lastRow;
                m_lastRow = m_filter->sourceRow(current.row());
                if (current.isValid())
                    m_source->setCurrentRow(m_lastRow);
                Q_EMIT rowChanged();
                Q_EMIT rowColChanged(lastRow);
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex&) { Q_EMIT rowChosen(); });
    syncFromSource();
}

void RecordGrid::setSearchText(const QString& text)
{
    if (!m_source)
        return;
    const bool wasFiltering = m_filter->filtering();
    m_filter->setSearchText(text);
    // Back to every row from a text that matched nothing: the first row is current again.
    if (wasFiltering && !m_filter->filtering() && m_source->eof() && m_source->recordCount() > 0) {
        m_source->setCurrentRow(0);
        Q_EMIT rowChanged();
        Q_EMIT rowColChanged(m_source->recordCount());
    }
}

void RecordGrid::keepCurrentShown()
{
    if (!m_source || !m_filter->filtering() || m_source->eof() || m_filter->viewRow(m_source->currentRow()) >= 0)
        return;
    // A hidden row is never the one a choice, a print or a delete acts on: the first shown
    // row becomes current, or none when nothing is shown. The window hears it as a move.
    const int lastRow = m_source->currentRow();
    const int first = m_filter->sourceRow(0);
    m_source->setCurrentRow(first >= 0 ? first : m_source->recordCount());
    Q_EMIT rowChanged();
    Q_EMIT rowColChanged(lastRow);
}

void RecordGrid::setColumnCaption(int column, const QString& caption)
{
    if (m_model)
        m_model->setCaption(column, caption);
}

QString RecordGrid::columnCaption(int column) const
{
    return m_model ? m_model->caption(column) : QString();
}

QString RecordGrid::columnField(int column) const
{
    return m_model && column >= 0 && column < m_model->columns().size() ? m_model->columns()[column].field
                                                                        : QString();
}

int RecordGrid::columnCount() const
{
    return m_model ? m_model->columnCount() : 0;
}

void RecordGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT rowChosen();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void RecordGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on an empty grid is a choice too (the windows then find no row and do
    // nothing); below the rows of a filled grid it chooses nothing.
    if (!indexAt(event->position().toPoint()).isValid()) {
        if (m_filter->rowCount() > 0) {
            event->accept();
            return;
        }
        Q_EMIT rowChosen();
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void RecordGrid::syncFromSource()
{
    if (!m_source || !m_model)
        return;
    const int row = m_source->currentRow();
    const int shown = m_filter->viewRow(row);
    m_syncing = true;
    if (shown >= 0) {
        const int column = qMax(0, currentIndex().column());
        const QModelIndex target = m_filter->index(shown, column);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(target);
    } else {
        selectionModel()->clear();
    }
    m_lastRow = row;
    m_syncing = false;
}

void RecordGrid::fitColumns()
{
    if (!m_model)
        return;
    fitGridColumns(this, m_model,
                   [this](int column) { return (m_model->columns()[column].widthTwips + 7) / 15; });
}
