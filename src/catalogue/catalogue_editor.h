#pragma once
// What the catalogue editors (Form2 to Form5) share on top of the record-window flow: the key
// row, and Save and Cancel buttons with the flow's save and cancel steps.
#include "ui/record_window.h"

class QLabel;
class QPushButton;

class CatalogueEditor : public RecordEditor
{
    Q_OBJECT
public:
    QLabel* Label11 = nullptr;       // "شماره ثبت :"
    QLabel* Label8 = nullptr;        // the record's key, bound to ID
    QPushButton* Command1 = nullptr; // save
    QPushButton* Command2 = nullptr; // cancel

    void Command1_Click();
    void Command2_Click();

protected:
    CatalogueEditor(Table table, QWidget* parent);

    // The key row: caption and key label, in twips.
    void addKeyRow(int captionLeft, int keyLeft, int top, int width);
    void addButtons(int saveLeft, int cancelLeft, int top);
};
