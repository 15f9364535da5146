#include "catalogue/catalogue_editor.h"

#include "storage/data_source.h"
#include "ui/controls.h"
#include "ui/persian_message_box.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString kKeyCaption = QStringLiteral("شماره ثبت :");
const QString kSave = QStringLiteral("ثبت اطلاعات");
const QString kCancel = QStringLiteral("انصراف");
const QString kNotStoredTitle = QStringLiteral("خطا در ثبت اطلاعات");
const QString kNotStoredPrompt = QStringLiteral("اطلاعات در بانک اطلاعاتي ثبت نشد؛ آنچه نوشته ايد در پنجره مانده است.");
const QString kReason = QStringLiteral("علت: ");
constexpr int kMsgWarning = 48;
} // namespace

CatalogueEditor::CatalogueEditor(Table table, const QString& tableName, QWidget* parent)
    : Form(parent), m_table(table), m_tableName(tableName)
{
    Adodc1 = new DataSource(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
}

void CatalogueEditor::addKeyRow(int captionLeft, int keyLeft, int top, int width)
{
    Label11 = Controls::label(this, "Label11", kKeyCaption, captionLeft, top, width);
    Label8 = Controls::label(this, "Label8", QString(), keyLeft, top, width);
    Adodc1->bind(Label8, QStringLiteral("ID"));
}

void CatalogueEditor::addButtons(int saveLeft, int cancelLeft, int top)
{
    Command1 = Controls::button(this, "Command1", kSave, saveLeft, top);
    Command2 = Controls::button(this, "Command2", kCancel, cancelLeft, top);
    connect(Command1, &QPushButton::clicked, this, &CatalogueEditor::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CatalogueEditor::Command2_Click);
}

void CatalogueEditor::openRecord()
{
    // A failing step leaves the boxes empty; a database file that cannot be used has already
    // been reported by the storage layer, and a later Save says that nothing was stored.
    Adodc1->setConnectionString(DataSource::connectionTextForProgramFolder());
    const EditState& state = editState(m_table);
    const QString query = QStringLiteral("SELECT * FROM %1 WHERE ID=").arg(m_tableName);
    if (state.editing) {
        Adodc1->setRecordSource(query + QString::number(state.recordKey));
        Adodc1->refresh();
    } else {
        Adodc1->setRecordSource(query + QStringLiteral("0"));
        Adodc1->refresh();
        Adodc1->addNew();
    }
}

void CatalogueEditor::Command1_Click()
{
    if (!Adodc1->update()) {
        // Nothing was stored: say so and why, and keep everything typed on screen.
        QString prompt = kNotStoredPrompt;
        if (!Adodc1->lastError().isEmpty())
            prompt += QLatin1Char('\n') + kReason + Adodc1->lastError();
        PersianMsgBox(this, prompt, kMsgWarning, kNotStoredTitle);
        return;
    }
    editState(m_table).saved = true;
    afterStored();
    unload();
    afterClosed();
}

void CatalogueEditor::Command2_Click()
{
    unload();
    editState(m_table).editing = false;
}
