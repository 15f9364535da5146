#include "storage/data_source.h"

struct DataSource::Row
{
};

DataSource::DataSource(QObject* parent) : QObject(parent) {}
DataSource::~DataSource() = default;
QString DataSource::connectionTextForProgramFolder() { return {}; }
void DataSource::setConnectionString(const QString& text) { m_connection = text; }
QString DataSource::databasePath() const { return {}; }
void DataSource::setRecordSource(const QString& query) { m_query = query; }
bool DataSource::refresh() { return false; }
bool DataSource::addNew() { return false; }
bool DataSource::update() { return false; }
bool DataSource::deleteCurrent() { return false; }
bool DataSource::find(const QString&) { return false; }
void DataSource::setCurrentRow(int) {}
bool DataSource::isNewRow() const { return false; }
int DataSource::columnIndex(const QString&) const { return -1; }
QString DataSource::field(const QString&) const { return {}; }
QString DataSource::value(int, int) const { return {}; }
bool DataSource::isNull(int, int) const { return true; }
qint32 DataSource::currentKey() const { return 0; }
void DataSource::bind(QWidget*, const QString&) {}
QString DataSource::tableName() const { return {}; }
void DataSource::showCurrentInControls() {}
void DataSource::setError(const QString&) {}
QString DataSource::controlText(QWidget*) const { return {}; }
void DataSource::setControlText(QWidget*, const QString&) const {}
