#pragma once
// The record-window flow, written once for every data window of the program.
//
// RecordEditor: a window over one record of one table (the catalogue editors, the order entry
// window). It opens the record the table's edit state names, or a new one; Save stores it
// through the data source (a refused save tells why and keeps the window with what was typed)
// and sets the saved flag; Cancel drops it and clears the editing flag. Both unload the window.
//
// RecordListWindow: a window around a record grid over a whole table (the catalogue lists, the
// order list, the order pickers). It opens its query; a chosen row opens in its editor through
// the edit state, and after a save the list is read again and the row found again; Delete asks
// first.
#include "storage/edit_state.h"
#include "ui/form.h"
#include "ui/list_search.h"

#include <functional>

class DataSource;
class RecordGrid;

// A notice that something was not stored (or not deleted), in a style-48 box: the text, then
// the database's reason after its caption on a line of its own when there is one, then a
// closing line when there is one.
struct RefusalNotice
{
    QString title;
    QString text;
    QString reasonCaption;
    QString closing;
};
void tellRefusal(QWidget* owner, const RefusalNotice& notice, const QString& reason);
// The table's name in the database ("winhost" ... "ss").
QString tableName(Table table);

class RecordEditor : public Form
{
    Q_OBJECT
public:
    DataSource* Adodc1 = nullptr;

protected:
    // `refused`: what a refused save tells.
    RecordEditor(Table table, const RefusalNotice& refused, QWidget* parent);

    // Connection text; then the record named by the record key when the editing flag is on,
    // else the empty record set of key 0 with a new row in it. A later re-read (the restore
    // re-reads every window) keeps a new record to store into.
    void openRecord();
    // Save: stores the record; on success sets the saved flag, runs afterStored(), unloads the
    // window and runs afterClosed(). A refusal is told and keeps the window. False when refused.
    bool saveRecord();
    // Cancel: unloads the window without storing, then clears the editing flag.
    void cancelRecord();
    bool isNewRecord() const { return m_newRecord; }
    // Binds the control to a column of the record and returns it, so that a window states a
    // control and its column in one line.
    template <class Control> Control* bound(Control* control, const char* column)
    {
        bindColumn(control, column);
        return control;
    }
    void bindColumn(QWidget* control, const char* column);

    // Save's own steps: after the record is stored and the saved flag set; after the window closed.
    virtual void afterStored() {}
    virtual void afterClosed() {}

private:
    void keepNewRecord();

    Table m_table;
    RefusalNotice m_refused;
    bool m_newRecord = false;
};

class RecordListWindow : public Form
{
    Q_OBJECT
public:
    DataSource* Adodc1 = nullptr;
    RecordGrid* DataGrid1 = nullptr;
    // The search row above the grid (after addSearch()).
    ListSearchRow search;

    // The texts of the delete question and of the notices around it.
    struct DeleteTexts
    {
        QString prompt;        // the question (style 52)
        QString title;         // title of the question and of the notices
        QString nothingToDelete; // told before asking when no row is current; empty: ask anyway, delete nothing
        QString notDeleted;    // told when the database refuses; empty: a refusal is silent
        QString reasonCaption; // caption before the database's reason in that notice
    };

protected:
    explicit RecordListWindow(QWidget* parent);

    // Points Adodc1 at the program folder's database and reads the query; false when the
    // read failed (the grid is then empty).
    bool openQuery(const QString& query);
    // True when a row of the list is current (not an empty list, not past the last row).
    bool hasCurrentRow() const;
    // The row choice into an editor: the table's record key := the current row's ID, saved
    // flag off, editing flag on; `showEditor` shows the editor modally; after a save the list is
    // read again and the same record found again. False (and nothing changed) with no current row.
    bool editCurrentRow(Table table, const std::function<void()>& showEditor);
    // Asks; on Yes deletes the current row. False when nothing was deleted.
    bool deleteCurrentRow(const DeleteTexts& texts);
    // Adds the search row above the grid, with the CSV button when `withExport`; once the
    // window has its size. The grid then shows the rows holding the typed text.
    void addSearch(bool withExport);
};
