#include "catalogue/catalogue_editor.h"

#include "storage/data_source.h"
#include "ui/controls.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString kKeyCaption = QStringLiteral("شماره ثبت :");
const QString kSave = QStringLiteral("ثبت اطلاعات");
const QString kCancel = QStringLiteral("انصراف");
} // namespace

CatalogueEditor::CatalogueEditor(Table table, QWidget* parent)
    : RecordEditor(table,
                   {QStringLiteral("خطا در ثبت اطلاعات"),
                    QStringLiteral("اطلاعات در بانک اطلاعاتي ثبت نشد؛ آنچه نوشته ايد در پنجره مانده است."),
                    QStringLiteral("علت: "), {}},
                   parent)
{
}

void CatalogueEditor::addKeyRow(int captionLeft, int keyLeft, int top, int width)
{
    Label11 = Controls::label(this, "Label11", kKeyCaption, captionLeft, top, width);
    Label8 = bound(Controls::label(this, "Label8", QString(), keyLeft, top, width), "ID");
}

void CatalogueEditor::addFrameAndButtons(int windowWidth, int frameBottom)
{
    constexpr int margin = 240;
    constexpr int gap = 180;
    constexpr int buttonWidth = 1440;
    constexpr int buttonHeight = 405;
    Shape1 = Controls::frameShape(this, "Shape1", margin, 120, windowWidth - 2 * margin, frameBottom - 120);
    const int top = frameBottom + gap;
    const int middle = windowWidth / 2;
    Command1 = Controls::button(this, "Command1", kSave, middle + gap / 2, top, buttonWidth, buttonHeight);
    Command2 = Controls::button(this, "Command2", kCancel, middle - gap / 2 - buttonWidth, top, buttonWidth, buttonHeight);
    m_width = windowWidth;
    m_height = top + buttonHeight + margin;
    connect(Command1, &QPushButton::clicked, this, &CatalogueEditor::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CatalogueEditor::Command2_Click);
}

void CatalogueEditor::setupEditor(const QString& caption)
{
    setupWindow(caption, m_width, m_height);
}

void CatalogueEditor::Command1_Click()
{
    saveRecord();
}

void CatalogueEditor::Command2_Click()
{
    cancelRecord();
}
