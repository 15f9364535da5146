#include "catalogue/catalogue_editor.h"

#include "storage/data_source.h"
#include "ui/controls.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString kKeyCaption = QStringLiteral("شماره ثبت :");
const QString kSave = QStringLiteral("ثبت اطلاعات");
const QString kCancel = QStringLiteral("انصراف");
const QString kNotStoredTitle = QStringLiteral("خطا در ثبت اطلاعات");
const QString kNotStoredPrompt = QStringLiteral("اطلاعات در بانک اطلاعاتي ثبت نشد؛ آنچه نوشته ايد در پنجره مانده است.");
const QString kReason = QStringLiteral("علت: ");
} // namespace

CatalogueEditor::CatalogueEditor(Table table, QWidget* parent)
    : RecordEditor(table, {kNotStoredTitle, kNotStoredPrompt, kReason, {}}, parent)
{
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

void CatalogueEditor::Command1_Click()
{
    saveRecord();
}

void CatalogueEditor::Command2_Click()
{
    cancelRecord();
}
