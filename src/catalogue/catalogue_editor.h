#pragma once
// The catalogue (src/catalogue): the editors of hosting plans (plan_editor.h), domain
// extensions (domain_editor.h) and customers (customer_editor.h), and their list windows
// (list_windows.h), all on the record-window flow of ui/record_window.h.
// CatalogueEditor is what the editors Form2 to Form5 share: the key row, the frame, and Save and
// Cancel with the flow's save and cancel steps.
#include "ui/record_window.h"

class QFrame;
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
    QFrame* Shape1 = nullptr;        // the light grey frame around the fields

    void Command1_Click();
    void Command2_Click();

protected:
    CatalogueEditor(Table table, QWidget* parent);

    // The key row: caption and key label, in twips.
    void addKeyRow(int captionLeft, int keyLeft, int top, int width);
    // The frame around the fields (from the top down to `frameBottom`) and, below it, Save and
    // Cancel side by side in the middle of the window, Save at the right. Sets the window's size.
    void addFrameAndButtons(int windowWidth, int frameBottom);
    // White, right to left, the caption and the size addFrameAndButtons() set.
    void setupEditor(const QString& caption);

private:
    int m_width = 0;
    int m_height = 0;
};
