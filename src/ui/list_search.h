#pragma once
// The search row of a list window, above its grid: the search box (SearchBox), the count of
// the rows shown ("n of m") and, in the windows that export, the CSV button (ExportCsv), which
// writes exactly the rows and columns the grid shows. Adding the row moves the grid and the
// controls below it down and makes the window taller by the row's height.
#include <QString>

#include <functional>

class CommonDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class SearchFilterModel;

struct ListSearchRow
{
    QLineEdit* SearchBox = nullptr;
    QLabel* SearchCount = nullptr;
    QPushButton* ExportCsv = nullptr; // nullptr where the window does not export
    CommonDialog* dialog = nullptr;   // the window's file dialog for the export
};

// `search` runs for every change of the typed text (by default the filter's setSearchText).
// Call it once the window has its size (after its layout).
ListSearchRow addListSearch(QWidget* window, QTableView* grid, SearchFilterModel* filter, bool withExport,
                            std::function<void(const QString&)> search = {});

// The grid's shown rows and columns into a CSV file the user names in the window's file dialog;
// a failure is told in Persian. False when nothing was written (cancelled or failed).
bool exportGridCsv(QWidget* window, QTableView* grid, CommonDialog* dialog);
