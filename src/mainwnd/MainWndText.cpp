// The main window's operations for the article window, the cell information and printing:
// each window is created on first use with what it needs handed in, and reused.
#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimerEvent>

#include "app/Settings.h"
#include "app/Startup.h"
#include "data/ErrorReporter.h"
#include "mainwnd/BookmarkWnd.h"
#include "mainwnd/DialogPlacement.h"
#include "mainwnd/MainWnd.h"
#include "platform/MessageBox.h"
#include "table/CellInfoDlg.h"
#include "table/Table.h"
#include "table/TableWnd.h"
#include "text/ArticlePage.h"
#include "text/NOXBrowser.h"
#include "text/TextBrowser.h"

namespace {

// The print host lives off screen.
const QRect kPrintHostRect(QPoint(-500, -500), QPoint(-400, -400));
// Timer 5 looks this often whether the print host has loaded its page.
constexpr int kPrintPoll = 500;

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The HTML folder check of start-up, which asks for the disc when the folder lies on one.
bool CheckHtmlFolder() {
    const CSettings& settings = TheSettings();
    if (!settings.Registry()) return true;
    const CMountTable drives = CMountTable::FromSystem();
    CStartupChecks checks(settings, drives, *settings.Registry());
    return checks.DirectoryCheck(settings.html);
}

}  // namespace

CTextBrowser* CMainWnd::TextBrowserWindow() const { return m_pTextBrowser; }
CCellInfoDlg* CMainWnd::CellInfoWindow() const { return m_pCellInfoDlg; }
CNOXBrowser* CMainWnd::PrintHost() const { return m_pPrintHost; }

// ---------------------------------------------------------------------------------------
// The article window

CTextBrowser* CMainWnd::CreateTextBrowser() {
    if (m_pTextBrowser) return m_pTextBrowser->IsUsable() ? m_pTextBrowser.data() : nullptr;
    CTextBrowserSetup setup;
    setup.database = m_pDatabase;
    setup.host = this;
    setup.htmlFolder = TheSettings().html;
    setup.userData = TheSettings().userData;
    setup.registry = TheSettings().Registry();
    setup.readValue = [](const std::string& name, void* data, std::size_t size) {
        return TheSettings().ReadBinaryValue(name, data, size);
    };
    setup.writeValue = [](const std::string& name, const void* data, std::size_t size) {
        return TheSettings().WriteBinaryValue(name, data, size);
    };
    setup.checkHtmlFolder = &CheckHtmlFolder;
    m_pTextBrowser = new CTextBrowser(this, std::move(setup));
    if (!m_pTextBrowser->IsUsable()) return nullptr;
    CenterOverParent(*m_pTextBrowser, this);
    return m_pTextBrowser;
}

void CMainWnd::OpenTextBrowser(std::int32_t htmlId, QWidget*, const QString& anchor,
                               const std::vector<std::string>& terms) {
    CDBBusyCursor busy;
    CTextBrowser* browser = CreateTextBrowser();
    if (!browser) return;
    browser->ShowArticle(htmlId, true, true, terms, anchor.toStdString());
    if (!browser->IsUsable()) return;
    browser->show();
    browser->raise();
    browser->activateWindow();
}

void CMainWnd::OpenTextBrowserPanel(int panel) {
    CDBBusyCursor busy;
    CTextBrowser* browser = CreateTextBrowser();
    if (!browser) return;
    browser->ShowPanel(panel, true);
    browser->show();
    browser->raise();
    browser->activateWindow();
}

// ---------------------------------------------------------------------------------------
// The bookmark window

CBookmarkWnd* CMainWnd::BookmarkWindow() const { return m_pBookmarkWnd; }

void CMainWnd::OpenBookmarks(QWidget*) {
    if (m_pBookmarkWnd) {
        m_pBookmarkWnd->show();
        m_pBookmarkWnd->raise();
        m_pBookmarkWnd->activateWindow();
        m_pBookmarkWnd->FollowArticle();
        return;
    }
    if (!m_pTextBrowser || !m_pTextBrowser->IsUsable()) return;
    CBookmarkWndSetup setup;
    setup.textBrowser = m_pTextBrowser;
    setup.openHelp = [this] {
        OpenTextBrowser(CBookmarkWnd::kHelpArticle, this,
                        QString::fromLatin1(CBookmarkWnd::kHelpAnchor));
    };
    // It shows itself a moment after it was made.
    m_pBookmarkWnd = new CBookmarkWnd(this, std::move(setup));
    // Beside the article window where the screen has room, else over its right edge.
    const QRect text = m_pTextBrowser->frameGeometry();
    QPoint at(text.right() + 8, text.top() + 40);
    if (const QScreen* screen = m_pTextBrowser->screen()) {
        const QRect work = screen->availableGeometry();
        at.setX(std::min(at.x(), work.right() - m_pBookmarkWnd->width() - 8));
    }
    m_pBookmarkWnd->move(at);
}

void CMainWnd::BookmarkSet(std::int32_t id) {
    if (m_pBookmarkWnd) m_pBookmarkWnd->BookmarkSet(id);
}

void CMainWnd::ArticleShown(std::int32_t) {
    if (m_pBookmarkWnd) m_pBookmarkWnd->FollowArticle();
}

// ---------------------------------------------------------------------------------------
// The cell information

void CMainWnd::OpenCellInfo(std::int32_t landId, std::int32_t valId, unsigned year) {
    if (!m_pCellInfoDlg) {
        CCellInfoSetup setup;
        setup.database = m_pDatabase;
        setup.host = this;
        setup.templateFolder = TheSettings().html;
        setup.tempFolder = WithSlash(QDir::tempPath().toStdString());
        m_pCellInfoDlg = new CCellInfoDlg(this, std::move(setup));
        CenterOverParent(*m_pCellInfoDlg, this);
    }
    m_pCellInfoDlg->SetTable(m_pTableWnd ? m_pTableWnd->Grid() : nullptr);
    m_pCellInfoDlg->Update(landId, valId, year);
}

void CMainWnd::CloseCellInfo() {
    if (!m_pCellInfoDlg) return;
    m_pCellInfoDlg->hide();
    m_pCellInfoDlg->deleteLater();
    m_pCellInfoDlg = nullptr;
}

// ---------------------------------------------------------------------------------------
// Printing

void CMainWnd::PrintHTML(const std::string& html) {
    if (!m_pPrintHost) {
        m_pPrintHost = new CNOXBrowser;
        m_pPrintHost->SetShowOnLoad(false);
        m_pPrintHost->SetRegistry(TheSettings().Registry());
        m_pPrintHost->Create(this, 0, kPrintHostRect,
                             QString::fromStdString(TheSettings().html + kPrintPageFile),
                             Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
        connect(m_pPrintHost, &CNOXBrowser::printFinished, this, [this](bool printed) {
            emit printDone(printed);
            // A text that came while the last print ran is printed now.
            if (m_pendingPrint.empty()) return;
            const std::string next = std::move(m_pendingPrint);
            m_pendingPrint.clear();
            PrintHTML(next);
        });
    }
    if (m_pPrintHost->IsPrinting()) {
        m_pendingPrint = html;
        return;
    }
    m_pPrintHost->ShowHTML(QString::fromStdString(html));
    if (!m_timerPrint) m_timerPrint = startTimer(kPrintPoll, Qt::PreciseTimer);
}

void CMainWnd::OnPrintTimer() {
    if (!m_pPrintHost) {
        killTimer(m_timerPrint);
        m_timerPrint = 0;
        return;
    }
    if (m_pPrintHost->IsLoading() || m_pPrintHost->IsPrinting()) return;
    killTimer(m_timerPrint);
    m_timerPrint = 0;
    m_pPrintHost->SetPrintFooter(QString::fromUtf8(kNoticeLine));
    m_pPrintHost->Print();
}

void CMainWnd::PrintPicture(QWidget* owner, const QImage& picture) {
    if (picture.isNull()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Varnholt Kompendor"));
    printer.setPageMargins(QMarginsF(25, 10, 15, 10), QPageLayout::Millimeter);
    if (MessagesAutomated()) {
        const std::optional<std::string> pdf = AutomatedPrintPdf();
        if (!pdf) return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(*pdf));
    } else {
        QPrintDialog dialog(&printer, owner ? owner->window() : this);
        dialog.setWindowTitle(QStringLiteral("Drucken"));
        if (dialog.exec() != QDialog::Accepted) return;
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowMessageBox("Das Bild konnte nicht gedruckt werden.", kCaptionFehler, MsgIcon::Stop);
        return;
    }
    // The picture at its size on the screen (96 dots per inch), smaller where the page is.
    const QString notice = QString::fromUtf8(kNoticeLine);
    const QRect page = painter.viewport();
    double scale = printer.resolution() / 96.0;
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // The line spans the picture: 8 × 4/3 × width ÷ characters, in tenths of a point.
    const double points
        = 8.0 * 4.0 / 3.0 * picture.width() / std::max<qsizetype>(1, notice.size()) / 10.0;
    font.setPointSizeF(std::max(1.0, points));
    const double lineHeight = QFontMetricsF(font, &printer).height() * 1.5;
    scale = std::min({scale, page.width() / double(picture.width()),
                      (page.height() - lineHeight) / double(picture.height())});
    const QSize size(qRound(picture.width() * scale), qRound(picture.height() * scale));
    painter.drawImage(QRect(page.topLeft(), size), picture);
    // A picture made smaller makes its line smaller with it.
    font.setPointSizeF(std::max(1.0, points * scale / (printer.resolution() / 96.0)));
    painter.setFont(font);
    painter.drawText(QRectF(page.left(), page.top() + size.height(), size.width(), lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, notice);
    if (!painter.end())
        ShowMessageBox("Das Bild konnte nicht gedruckt werden.", kCaptionFehler, MsgIcon::Stop);
}
