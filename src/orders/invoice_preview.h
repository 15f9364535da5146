#pragma once
// The invoice's print preview: the report shown page by page, right to left, with the
// toolkit's print and page set-up, plus saving the invoice as a PDF file. It opens maximized with
// the page fitted to the window's width.
#include <QPrintPreviewDialog>

#include <functional>

class DataReport1;
class CommonDialog;
class QAction;

class InvoicePreview : public QPrintPreviewDialog
{
    Q_OBJECT
public:
    // Previews `report` on its own printer; `orderNumber` is the suggested PDF file name.
    InvoicePreview(const DataReport1& report, const QString& orderNumber, QWidget* parent = nullptr);

    QAction* savePdfAction() const { return m_savePdf; }
    // Asks for a file name (the order number suggested) and writes the invoice there;
    // a failure is told in a message box.
    void savePdf();

private:
    const DataReport1& m_report;
    QString m_orderNumber;
    CommonDialog* m_saveDialog = nullptr;
    QAction* m_savePdf = nullptr;
};

// Shows the report modally in the preview and returns when it is closed. Tests replace the
// preview with their own function (nullptr restores it).
void showInvoicePreview(const DataReport1& report, const QString& orderNumber, QWidget* owner);
void setInvoicePreviewForTests(
    std::function<void(const DataReport1& report, const QString& orderNumber)> preview);
