#pragma once
// What the catalogue editors (Form2 to Form5) share: one record of one table, opened as the
// table's edit state names it, the key label, and Save and Cancel with their edit-state steps.
// A save the database refuses is told to the user and keeps the window open with its values.
#include "storage/edit_state.h"
#include "ui/form.h"

class DataSource;
class QLabel;
class QPushButton;

class CatalogueEditor : public Form
{
    Q_OBJECT
public:
    DataSource* Adodc1 = nullptr;
    QLabel* Label11 = nullptr;       // "شماره ثبت :"
    QLabel* Label8 = nullptr;        // the record's key, bound to ID
    QPushButton* Command1 = nullptr; // save
    QPushButton* Command2 = nullptr; // cancel

    void Command1_Click();
    void Command2_Click();

protected:
    CatalogueEditor(Table table, const QString& tableName, QWidget* parent);

    // The key row: caption and key label, in twips.
    void addKeyRow(int captionLeft, int keyLeft, int top, int width);
    void addButtons(int saveLeft, int cancelLeft, int top);
    // Connection text; then the record named by the record key when the editing flag is on,
    // else the empty record set of key 0 with a new row in it.
    void openRecord();

    // Save's own steps: after the record is stored and the saved flag set; after the window closed.
    virtual void afterStored() {}
    virtual void afterClosed() {}

private:
    Table m_table;
    QString m_tableName;
};
