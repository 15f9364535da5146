#include "ui/record_window.h"

#include "storage/data_source.h"
#include "storage/record_grid.h"
#include "ui/persian_message_box.h"

#include <QLineEdit>

namespace {

DataSource* newDataSource(QObject* owner)
{
    auto* source = new DataSource(owner);
    source->setObjectName(QStringLiteral("Adodc1"));
    return source;
}
} // namespace

void tellRefusal(QWidget* owner, const RefusalNotice& notice, const QString& reason)
{
    QString prompt = notice.text;
    if (!reason.isEmpty())
        prompt += QLatin1Char('\n') + notice.reasonCaption + reason;
    if (!notice.closing.isEmpty())
        prompt += QLatin1Char('\n') + notice.closing;
    PersianMsgBox(owner, prompt, MsgBoxStyle::Exclamation, notice.title);
}

QString tableName(Table table)
{
    static const char* const names[] = {"winhost", "linhost", "newdomin", "newmoshtary", "ss"};
    return QString::fromLatin1(names[static_cast<int>(table)]);
}

RecordEditor::RecordEditor(Table table, const RefusalNotice& refused, QWidget* parent)
    : Form(parent), m_table(table), m_refused(refused)
{
    Adodc1 = newDataSource(this);
}

void RecordEditor::openRecord()
{
    // A failing step leaves the controls empty; a database file that cannot be used has already
    // been reported by the storage layer, and a later Save says that nothing was stored.
    Adodc1->setConnectionString(DataSource::connectionTextForProgramFolder());
    const EditState& state = editState(m_table);
    const QString query = QStringLiteral("SELECT * FROM %1 WHERE ID=").arg(tableName(m_table));
    m_newRecord = !state.editing;
    Adodc1->setRecordSource(query + QString::number(m_newRecord ? 0 : state.recordKey));
    Adodc1->refresh();
    if (m_newRecord)
        Adodc1->addNew();
    connect(Adodc1, &DataSource::rowsReset, this, &RecordEditor::keepNewRecord, Qt::UniqueConnection);
}

void RecordEditor::bindColumn(QWidget* control, const char* column)
{
    Adodc1->bind(control, QString::fromLatin1(column));
    // A stored value longer than its box shows from its start, not cut inside its first letters.
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        connect(box, &QLineEdit::textChanged, box, [box] {
            if (!box->isModified()) // put there by the record or a picker, not typed
                box->setCursorPosition(0);
        });
    }
}

void RecordEditor::keepNewRecord()
{
    if (m_newRecord && Adodc1->recordCount() == 0)
        Adodc1->addNew();
}

bool RecordEditor::saveRecord()
{
    if (!Adodc1->update()) {
        // Nothing was stored: say so and why, and keep everything typed on screen.
        tellRefusal(this, m_refused, Adodc1->lastError());
        return false;
    }
    editState(m_table).saved = true;
    afterStored();
    unload();
    afterClosed();
    return true;
}

void RecordEditor::cancelRecord()
{
    unload();
    editState(m_table).editing = false;
}

RecordListWindow::RecordListWindow(QWidget* parent) : Form(parent)
{
    Adodc1 = newDataSource(this);
    DataGrid1 = new RecordGrid(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
}

bool RecordListWindow::openQuery(const QString& query)
{
    Adodc1->setConnectionString(DataSource::connectionTextForProgramFolder());
    Adodc1->setRecordSource(query);
    return Adodc1->refresh();
}

bool RecordListWindow::hasCurrentRow() const
{
    return Adodc1->recordCount() > 0 && !Adodc1->eof();
}

bool RecordListWindow::editCurrentRow(Table table, const std::function<void()>& showEditor)
{
    if (!hasCurrentRow())
        return false;
    EditState& state = editState(table);
    state.recordKey = Adodc1->currentKey();
    state.saved = false;
    state.editing = true;
    showEditor();
    if (state.saved) {
        Adodc1->refresh();
        Adodc1->find(QStringLiteral("ID=") + QString::number(state.recordKey));
    }
    return true;
}

void RecordListWindow::addSearch(bool withExport)
{
    search = addListSearch(this, DataGrid1, DataGrid1->searchFilter(), withExport,
                           [grid = DataGrid1](const QString& text) { grid->setSearchText(text); });
}

bool RecordListWindow::deleteCurrentRow(const DeleteTexts& texts)
{
    if (!hasCurrentRow() && !texts.nothingToDelete.isEmpty()) {
        PersianMsgBox(this, texts.nothingToDelete, MsgBoxStyle::Exclamation, texts.title);
        return false;
    }
    if (PersianMsgBox(this, texts.prompt, MsgBoxStyle::YesNo + MsgBoxStyle::Exclamation, texts.title) != MsgBoxId::Yes)
        return false;
    // Confirmed on an empty list (or past the last row): there is nothing to delete.
    if (!hasCurrentRow())
        return false;
    if (Adodc1->deleteCurrent())
        return true;
    if (!texts.notDeleted.isEmpty())
        tellRefusal(this, {texts.title, texts.notDeleted, texts.reasonCaption, {}}, Adodc1->lastError());
    return false;
}
