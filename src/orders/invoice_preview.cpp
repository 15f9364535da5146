#include "orders/invoice_preview.h"

#include "orders/invoice_report.h"
#include "ui/common_dialog.h"
#include "ui/persian_message_box.h"

#include <QAction>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

namespace {

const QString kSavePdfText = QStringLiteral("ذخيره PDF");
const QString kSavePdfTip = QStringLiteral("ذخيره فاکتور به صورت فايل PDF");
const QString kSavePdfTitle = QStringLiteral("ذخيره فاکتور به صورت فايل PDF");
const QString kPdfFilter = QStringLiteral("(*.pdf)|*.pdf;*.PDF");
const QString kPdfFailed =
    QStringLiteral("فايل PDF نوشته نشد. مسير فايل و اجازه نوشتن در آن پوشه را بررسي کنيد.");

std::function<void(const DataReport1&, const QString&)>& previewForTests()
{
    static std::function<void(const DataReport1&, const QString&)> preview;
    return preview;
}

} // namespace

InvoicePreview::InvoicePreview(const DataReport1& report, const QString& orderNumber, QWidget* parent)
    : QPrintPreviewDialog(parent), m_report(report), m_orderNumber(orderNumber)
{
    setObjectName(QStringLiteral("DataReport1"));
    setWindowTitle(report.caption());
    setLayoutDirection(Qt::RightToLeft);

    QPrinter* device = printer();
    device->setPageSize(QPageSize(QPageSize::A4));
    device->setPageOrientation(QPageLayout::Portrait);
    device->setDocName(report.caption());
    connect(this, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { m_report.print(*target); });

    m_saveDialog = new CommonDialog(this);
    m_saveDialog->setObjectName(QStringLiteral("CommonDialog1"));
    m_saveDialog->DialogTitle = kSavePdfTitle;
    m_saveDialog->Filter = kPdfFilter;

    m_savePdf = new QAction(kSavePdfText, this);
    m_savePdf->setObjectName(QStringLiteral("savePdf"));
    m_savePdf->setToolTip(kSavePdfTip);
    connect(m_savePdf, &QAction::triggered, this, &InvoicePreview::savePdf);
    if (auto* toolbar = findChild<QToolBar*>()) {
        toolbar->addSeparator();
        toolbar->addAction(m_savePdf);
    } else {
        addAction(m_savePdf);
    }

    // The page as wide as the window, the window as large as the screen: the invoice reads at
    // its printed size or larger.
    if (auto* fitWidth = findChild<QAction*>(QStringLiteral("fitWidthAction")))
        fitWidth->trigger();
    if (auto* view = findChild<QPrintPreviewWidget*>())
        view->setZoomMode(QPrintPreviewWidget::FitToWidth);
    // (The screen's size as well, for desktops without a window manager to maximize it.)
    setGeometry(screen()->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void InvoicePreview::savePdf()
{
    m_saveDialog->FileName =
        m_orderNumber.isEmpty() ? QStringLiteral("invoice.pdf") : m_orderNumber + QStringLiteral(".pdf");
    if (!m_saveDialog->ShowSave(this))
        return;
    QString path = m_saveDialog->FileName;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (!m_report.writePdf(path))
        PersianMsgBox(this, kPdfFailed, MsgBoxStyle::Exclamation, m_report.caption());
}

void showInvoicePreview(const DataReport1& report, const QString& orderNumber, QWidget* owner)
{
    if (previewForTests()) {
        previewForTests()(report, orderNumber);
        return;
    }
    InvoicePreview preview(report, orderNumber, owner);
    preview.setWindowModality(Qt::ApplicationModal);
    preview.exec();
}

void setInvoicePreviewForTests(
    std::function<void(const DataReport1& report, const QString& orderNumber)> preview)
{
    previewForTests() = std::move(preview);
}
