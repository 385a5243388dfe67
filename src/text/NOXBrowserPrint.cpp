// Printing of the browser wrapper. The browser renders the page into a PDF document with the
// page setup's margins; the header and footer lines are drawn into those margins on every
// page (the browser knows no such lines), and the result goes to the printer the user chose,
// to the file of "print to file", or, in scripted runs, to KOMPENDOR_PRINT_PDF.
#include <cups/cups.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QBuffer>
#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

#include "platform/MessageBox.h"
#include "text/BrowserPrintJob.h"
#include "text/NOXBrowser.h"

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

// One header or footer line across the band from left to right at the vertical centre y.
void DrawLine(QPainter& painter, const CPageLine& line, double left, double right, double y) {
    const QFontMetricsF metrics(painter.font());
    const double width = right - left;
    if (width <= 0) return;
    const double baseline = y + (metrics.ascent() - metrics.descent()) / 2;
    const QString center = QString::fromStdString(line.center);
    const QString rightText = QString::fromStdString(line.right);
    const double centerWidth = metrics.horizontalAdvance(center);
    const double rightWidth = metrics.horizontalAdvance(rightText);
    // The left part gives way to the others; a long address must not run into the page
    // number.
    const double gap = metrics.averageCharWidth() * 2;
    double leftRoom = width - rightWidth - (rightWidth > 0 ? gap : 0);
    if (centerWidth > 0) leftRoom = std::min(leftRoom, (width - centerWidth) / 2 - gap);
    const QString leftText = metrics.elidedText(QString::fromStdString(line.left), Qt::ElideMiddle,
                                                std::max(0.0, leftRoom));
    painter.drawText(QPointF(left, baseline), leftText);
    if (centerWidth > 0)
        painter.drawText(QPointF(left + (width - centerWidth) / 2, baseline), center);
    if (rightWidth > 0) painter.drawText(QPointF(right - rightWidth, baseline), rightText);
}

std::string Bytes(const QByteArray& data) { return std::string(data.constData(), data.size()); }

}  // namespace

std::optional<QByteArray> StampPageLines(const QByteArray& pdf, const CPageSetup& setup,
                                         CPageFields fields) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        const std::string body = Bytes(pdf);
        document.processMemoryFile("page", body.data(), body.size());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(document).getAllPages();
        if (pages.empty()) return std::nullopt;

        // The lines, one page of their own for each page, the same size; points as units.
        QBuffer lines;
        lines.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&lines);
            writer.setResolution(static_cast<int>(kPointsPerInch));
            writer.setCreator(QStringLiteral("Varnholt Kompendor"));
            QPainter painter;
            QFont font(QStringLiteral("Arial"));
            font.setStyleHint(QFont::SansSerif);
            font.setPointSizeF(8);
            fields.pages = static_cast<int>(pages.size());
            for (std::size_t i = 0; i < pages.size(); ++i) {
                const QPDFObjectHandle::Rectangle box
                    = pages[i].getMediaBox().getArrayAsRectangle();
                const double width = box.urx - box.llx, height = box.ury - box.lly;
                writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(),
                                             QPageSize::ExactMatch));
                writer.setPageMargins(QMarginsF(0, 0, 0, 0));
                if (i == 0) {
                    if (!painter.begin(&writer)) return std::nullopt;
                    painter.setFont(font);
                } else {
                    writer.newPage();
                }
                fields.page = static_cast<int>(i) + 1;
                const double left = setup.marginLeft * kPointsPerInch;
                const double right = width - setup.marginRight * kPointsPerInch;
                const double top = setup.marginTop * kPointsPerInch;
                const double bottom = setup.marginBottom * kPointsPerInch;
                DrawLine(painter, ExpandPageCodes(setup.header, fields), left, right, top / 2);
                DrawLine(painter, ExpandPageCodes(setup.footer, fields), left, right,
                         height - bottom / 2);
            }
            painter.end();
        }

        QPDF overlay;
        overlay.setSuppressWarnings(true);
        const std::string lineBytes = Bytes(lines.data());
        overlay.processMemoryFile("lines", lineBytes.data(), lineBytes.size());
        std::vector<QPDFPageObjectHelper> linePages = QPDFPageDocumentHelper(overlay).getAllPages();
        if (linePages.size() != pages.size()) return std::nullopt;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            QPDFObjectHandle form
                = document.copyForeignObject(linePages[i].getFormXObjectForPage());
            QPDFObjectHandle resources = pages[i].getAttribute("/Resources", true);
            int suffix = 1;
            const std::string name = resources.getUniqueResourceName("/Fx", suffix);
            const std::string content = pages[i].placeFormXObject(
                form, name, pages[i].getMediaBox().getArrayAsRectangle());
            if (content.empty()) continue;
            resources.mergeResources(QPDFObjectHandle::parse("<< /XObject << >> >>"));
            resources.getKey("/XObject").replaceKey(name, form);
            // The page's own drawing keeps its state to itself.
            pages[i].addPageContents(QPDFObjectHandle::newStream(&document, "q\n"), true);
            pages[i].addPageContents(QPDFObjectHandle::newStream(&document, "\nQ\n" + content),
                                     false);
        }

        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                          static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void CNOXBrowser::Print() {
    // The print command is there only for a page that has loaded; one print at a time.
    if (!m_pView || m_loading || m_printJob) return;

    auto job = std::make_unique<CBrowserPrintJob>();
    job->setup = std::make_unique<CPageSetupScope>(m_registry, m_printHeader.toStdString(),
                                                   m_printFooter.toStdString());
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDateTime now = QDateTime::currentDateTime();
    // The document title; without one the page's own title, but not the address or file name
    // the browser puts in its place.
    const QUrl url = m_pView->Url();
    QString title = m_documentTitle.isEmpty() ? m_pView->Title() : m_documentTitle;
    if (m_documentTitle.isEmpty()
        && (title == url.toString() || title == url.fileName() || title == url.toLocalFile()))
        title.clear();
    job->fields.title = title.toStdString();
    job->fields.address = url.toString().toStdString();
    job->fields.date = now.date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    job->fields.longDate = german.toString(now.date(), QLocale::LongFormat).toStdString();
    job->fields.time = now.time().toString(QStringLiteral("HH:mm")).toStdString();
    m_printJob = std::move(job);

    // A scripted run prints without a dialog into its PDF file, or not at all.
    if (MessagesAutomated()) {
        m_printJob->pdfPath = AutomatedPrintPdf();
        if (!m_printJob->pdfPath) {
            FinishPrint(false, false);
            return;
        }
        PrintToPdf();
        return;
    }
    PrintWithPrinter();
}

void CNOXBrowser::PrintWithPrinter() {
    m_printJob->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printJob->printer->setDocName(QStringLiteral("Varnholt Kompendor"));
    // The print host lives off screen: the dialog belongs to the window that asked.
    QWidget* parent = m_pOwner ? m_pOwner->window() : window();
    auto* dialog = new QPrintDialog(m_printJob->printer.get(), parent);
    dialog->setWindowTitle(QStringLiteral("Drucken"));
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    m_printJob->dialog = dialog;
    // The job deletes the dialog: never inside the dialog's own signal.
    connect(dialog, &QDialog::finished, this, [this](int result) {
        if (!m_printJob) return;
        if (result == QDialog::Accepted)
            PrintToPdf();
        else
            QMetaObject::invokeMethod(
                this, [this] { FinishPrint(false, false); }, Qt::QueuedConnection);
    });
    dialog->open();
}

void CNOXBrowser::PrintToPdf() {
    const CPageSetup& setup = m_printJob->setup->Setup();
    const QMarginsF margins(
        setup.marginLeft * kMillimetresPerInch, setup.marginTop * kMillimetresPerInch,
        setup.marginRight * kMillimetresPerInch, setup.marginBottom * kMillimetresPerInch);
    QPageSize size(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    if (m_printJob->printer) {
        size = m_printJob->printer->pageLayout().pageSize();
        orientation = m_printJob->printer->pageLayout().orientation();
    }
    const QPageLayout layout(size, orientation, margins, QPageLayout::Millimeter);
    QPointer<CNOXBrowser> alive(this);
    m_pView->PrintToPdf(layout, [alive](const QByteArray& pdf) {
        if (alive && alive->m_printJob) alive->OnPdfReady(pdf);
    });
}

void CNOXBrowser::OnPdfReady(const QByteArray& pdf) {
    std::optional<QByteArray> printout;
    if (!pdf.isEmpty())
        printout = StampPageLines(pdf, m_printJob->setup->Setup(), m_printJob->fields);
    if (!printout) {
        FinishPrint(false, true);
        return;
    }

    QString file;
    if (m_printJob->pdfPath)
        file = QString::fromStdString(*m_printJob->pdfPath);
    else if (m_printJob->printer->outputFormat() == QPrinter::PdfFormat)
        file = m_printJob->printer->outputFileName();

    bool printed = false;
    if (!file.isEmpty()) {
        QSaveFile out(file);
        printed = out.open(QIODevice::WriteOnly) && out.write(*printout) == printout->size()
                  && out.commit();
    } else {
        // The printer's queue takes the document as it is.
        QTemporaryFile spool;
        if (spool.open() && spool.write(*printout) == printout->size() && spool.flush()) {
            QPrinter& printer = *m_printJob->printer;
            cups_option_t* options = nullptr;
            int count = 0;
            const QByteArray copies = QByteArray::number(printer.copyCount());
            count = cupsAddOption("copies", copies.constData(), count, &options);
            if (printer.printRange() == QPrinter::PageRange) {
                const QByteArray range = QByteArray::number(printer.fromPage()) + '-'
                                         + QByteArray::number(printer.toPage());
                count = cupsAddOption("page-ranges", range.constData(), count, &options);
            }
            if (printer.duplex() == QPrinter::DuplexLongSide)
                count = cupsAddOption("sides", "two-sided-long-edge", count, &options);
            else if (printer.duplex() == QPrinter::DuplexShortSide)
                count = cupsAddOption("sides", "two-sided-short-edge", count, &options);
            const QByteArray name = printer.printerName().toLocal8Bit();
            const QByteArray path = spool.fileName().toLocal8Bit();
            printed = cupsPrintFile(name.constData(), path.constData(), "Varnholt Kompendor", count,
                                    options)
                      > 0;
            cupsFreeOptions(count, options);
        }
    }
    FinishPrint(printed, !printed);
}

void CNOXBrowser::FinishPrint(bool printed, bool failed) {
    // The job puts the user's header and footer back as it goes.
    std::unique_ptr<CBrowserPrintJob> job = std::move(m_printJob);
    job.reset();
    if (failed)
        ShowMessageBox("Die Seite konnte nicht gedruckt werden.", kCaptionFehler, MsgIcon::Stop);
    emit printFinished(printed);
}
