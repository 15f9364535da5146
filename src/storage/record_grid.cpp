#include "storage/record_grid.h"

#include "storage/data_source.h"

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
        const QString text = opt.text;
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

RecordGrid::RecordGrid(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new CaptionHeader(this));
    setVerticalHeader(new RowSelector(this));
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    QFont gridFont = QApplication::font();
    gridFont.setPointSizeF(8.25);
    setFont(gridFont);
    horizontalHeader()->setFont(gridFont);
    horizontalHeader()->setHighlightSections(false);
    // Fixed row heights: the view never measures all rows, however many there are.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(16);
}

void RecordGrid::setDataSource(DataSource* source, const QList<GridColumn>& columns)
{
    m_source = source;
    auto* old = m_model;
    m_model = new DataSourceModel(source, columns, this);
    setModel(m_model);
    delete old;
    fitColumns();

    connect(source, &DataSource::currentRowChanged, this, [this] { syncFromSource(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        fitColumns();
        syncFromSource();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, verticalHeader()->viewport(),
            qOverload<>(&QWidget::update));
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (m_syncing || !m_source)
                    return;
                const int lastRow = previous.isValid() ? previous.row() : m_lastRow;
                m_lastRow = current.row();
                if (current.isValid())
                    m_source->setCurrentRow(current.row());
                Q_EMIT rowChanged();
                Q_EMIT rowColChanged(lastRow);
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex&) { Q_EMIT rowChosen(); });
    syncFromSource();
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
        if (m_model && m_model->rowCount() > 0) {
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
    m_syncing = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const int column = qMax(0, currentIndex().column());
        const QModelIndex target = m_model->index(row, column);
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
    const int limit = fontMetrics().averageCharWidth() * kColumnLimitChars;
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int rows = std::min(m_model->rowCount(), std::max(kFirstScreenRows, viewport()->height() / rowHeight + 1));
    const int padding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 6;
    const QFontMetrics headerMetrics(horizontalHeader()->font());
    for (int column = 0; column < m_model->columnCount(); ++column) {
        int widest = headerMetrics.horizontalAdvance(m_model->caption(column).trimmed());
        for (int row = 0; row < rows; ++row)
            widest = std::max(widest, fontMetrics().horizontalAdvance(m_model->index(row, column).data().toString()));
        // An empty grid keeps the designed widths until it has values to fit.
        const int designed = (m_model->columns()[column].widthTwips + 7) / 15;
        setColumnWidth(column, rows == 0 ? designed : std::min(widest + padding, limit));
    }
}
