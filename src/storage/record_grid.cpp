#include "storage/record_grid.h"

#include <QKeyEvent>

RecordGrid::RecordGrid(QWidget* parent) : QTableView(parent) {}
void RecordGrid::setDataSource(DataSource* source, const QList<GridColumn>&) { m_source = source; }
void RecordGrid::setColumnCaption(int, const QString&) {}
QString RecordGrid::columnCaption(int) const { return {}; }
int RecordGrid::columnCount() const { return 0; }
void RecordGrid::keyPressEvent(QKeyEvent* event) { QTableView::keyPressEvent(event); }
void RecordGrid::syncFromSource() {}
