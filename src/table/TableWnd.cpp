#include "table/TableWnd.h"

#include <QCursor>
#include <QPainter>
#include <QPointer>

#include "controls/ProgressWnd.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "noxctrls/StaticCtrl.h"
#include "platform/MessageBox.h"
#include "table/CellKindHTML.h"
#include "table/CellKinds.h"
#include "table/Table.h"
#include "table/TableCell.h"
#include "table/TableFill.h"
#include "table/TableHTML.h"
#include "table/YearLogic.h"

namespace {

// The table window's progress: the progress window of template 167, owned by the run.
class CWindowProgress : public CFillProgress {
public:
    explicit CWindowProgress(QWidget* owner) : m_owner(owner) {}
    void Start(int total) override { m_window.Start(m_owner, total); }
    bool Step() override { return m_window.Step(); }

private:
    QWidget* m_owner;
    CProgressWnd m_window;
};

// Marks the window as filling for the lifetime of a run.
class CFillingScope {
public:
    explicit CFillingScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~CFillingScope() { m_flag = false; }
    CFillingScope(const CFillingScope&) = delete;
    CFillingScope& operator=(const CFillingScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

CTableWnd* TableWndOf(const QWidget* widget) {
    for (QWidget* w = widget != nullptr ? widget->parentWidget() : nullptr; w != nullptr;
         w = w->parentWidget()) {
        if (auto* window = qobject_cast<CTableWnd*>(w)) return window;
    }
    return nullptr;
}

const CTableResources& TableResourcesOf(const QWidget* widget) {
    if (CTableWnd* window = TableWndOf(widget)) return window->Resources();
    static const CTableResources kNone;
    return kNone;
}

CDatabase* TableDatabaseOf(const QWidget* widget) { return TableResourcesOf(widget).database; }

CTableHost* TableHostOf(const QWidget* widget) { return TableResourcesOf(widget).host; }

CTableWnd::CTableWnd(QWidget* parent) : QWidget(parent) {
    RegisterCellKinds();
    setObjectName(QStringLiteral("CTableWnd"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);

    m_bar = new CTemplateDialog(kBarTemplate, this, CTemplateDialog::Placement::Child);
    // Queued: a command may close this window, which must not happen inside the button's own
    // mouse handling.
    connect(m_bar, &CTemplateDialog::command, this, &CTableWnd::OnBarCommand, Qt::QueuedConnection);

    m_grid = new CTable(this);
    m_grid->Create(this, QRect(0, kBarHeight, width(), qMax(0, height() - kBarHeight)),
                   QColor(173, 186, 206), QColor(173, 186, 206), QColor(187, 198, 214));
    m_grid->SetHeaderSizes(kTableRowHeaderWidth, kTableColumnHeaderHeight);
}

CTableWnd::~CTableWnd() = default;

void CTableWnd::SetTitle(const QString& title) {
    if (CStaticCtrl* text = m_bar->Controls().Static(kTitleId)) text->SetText(title);
}

bool CTableWnd::DisplayStaaten(const IdList& countries, const IdList& dataIds) {
    return Display(kStaatenView, countries, dataIds);
}

bool CTableWnd::DisplayDaten(const IdList& countries, const IdList& dataIds) {
    return Display(kDatenView, countries, dataIds);
}

bool CTableWnd::Display(const CTableView& view, const IdList& countries, const IdList& dataIds) {
    CDatabase* db = Database();
    if (m_filling || db == nullptr) return false;
    CWindowProgress progress(this);
    bool done = false;
    {
        CFillingScope filling(m_filling);
        m_grid->Clear();
        m_grid->SetHeaderSizes(kTableRowHeaderWidth, kTableColumnHeaderHeight);
        done = FillTable(view, *db, m_grid->GetTableData(), countries, dataIds, &progress);
    }
    // A cancelled run leaves the grid as it is: the main window closes the table.
    m_cancelled = !done;
    if (done) m_grid->RebuildVisible();
    return done;
}

void CTableWnd::SetColYear(int column, unsigned year) {
    CDatabase* db = Database();
    if (m_filling || db == nullptr) return;
    const int selectedColumn = m_grid->GetSelectedColumn();
    const int selectedRow = m_grid->GetSelectedRow();
    repaint();
    {
        CWindowProgress progress(this);
        CFillingScope filling(m_filling);
        FillColYear(*db, m_grid->GetTableData(), column, year, &progress);
        // The cells show the refilled records, the header its new year button.
        m_grid->RebuildVisible();
        m_grid->EnsureVisible(m_grid->GetSelectedColumn(), m_grid->GetSelectedRow());
    }
    if (selectedColumn > 0 && selectedRow > 0) {
        m_grid->ClearSelection(false);
        m_grid->Select(selectedColumn, selectedRow);
    }
}

bool CTableWnd::ExportHTML() {
    if (m_filling) return false;
    SaveDialogRequest request;
    request.fileName = "ZYB.htm";
    request.defaultExtension = "htm";
    request.filter = "HTML Datei (*.htm)|*.htm||";
    request.overwritePrompt = true;
    const std::optional<std::string> path = RunSaveFileDialog(request);
    if (!path) return false;

    bool written = false;
    {
        CDBBusyCursor wait;
        written = WriteHTMLFile(m_grid->GetTableData(), *path);
    }
    if (written) {
        ShowMessageBox("Die Tabelle wurde erfolgreich in " + *path + " exportiert.",
                       kCaptionHinweis, MsgIcon::Information);
    } else {
        ShowMessageBox("Die Tabelle konnte nicht in " + *path + " exportiert werden.",
                       kCaptionFehler, MsgIcon::Stop);
    }
    return written;
}

void CTableWnd::PrintTable() {
    if (m_filling) return;
    if (CTableHost* host = Resources().host) host->PrintHTML(BuildHTML(m_grid->GetTableData()));
}

void CTableWnd::OnBarCommand(int id) {
    // While a run fills the grid, the progress window's cancel is the only command.
    if (m_filling) return;
    switch (id) {
        case kExportId:
            ExportHTML();
            break;
        case kPrintId:
            PrintTable();
            break;
        case kCloseId:
            // Closing deletes the workspace file: nothing the user should lose by a slip.
            if (ShowMessageBox(kMsgCloseTable, kCaptionHinweis, MsgIcon::Information,
                               MsgButtons::YesNo)
                != IDYES)
                break;
            if (CTableHost* host = Resources().host) host->CloseTable();
            break;
        default:
            break;
    }
}

bool CTableWnd::event(QEvent* e) {
    const int type = e->type();
    if (type < TWM_SELCHANGED || type > TWM_CELL_RBUTTONDBLCLK) return QWidget::event(e);
    const auto* message = static_cast<const CTableEvent*>(e);
    switch (type) {
        case TWM_SELCHANGED:
            OnSelectionChanged(message->Column(), message->Row());
            break;
        case TWM_CELL_LBUTTONUP:
            if (!m_filling) m_grid->Select(message->Column(), message->Row());
            break;
        case TWM_CELL_RBUTTONUP:
            if (!m_filling) OnRightButtonUp(message->Column(), message->Row());
            break;
        default:
            break;
    }
    return true;
}

void CTableWnd::OnSelectionChanged(int column, int row) {
    const CellData* record = m_grid->GetData(column, row);
    const CellData* corner = m_grid->GetData(0, 0);
    if (record == nullptr || corner == nullptr) return;
    std::int32_t year = ReferenceYear();
    record->GetYear(year);
    const CTableView* view = ViewOfCorner(corner->cellClass);
    if (view == nullptr) return;
    const std::int32_t columnTag = m_grid->GetTag(column, 0);
    const std::int32_t rowTag = m_grid->GetTag(0, row);
    const std::int32_t landId = view->columns.countries ? columnTag : rowTag;
    const std::int32_t valId = view->columns.countries ? rowTag : columnTag;
    if (CTableHost* host = Resources().host) host->OpenCellInfo(landId, valId, unsigned(year));
}

void CTableWnd::OnRightButtonUp(int column, int row) {
    const QPoint at = QCursor::pos();
    CTableCell* cell = m_grid->GetCellWindow(column, row);
    if (cell != nullptr && cell->isVisible()) cell->ShowContextMenu(at.x(), at.y());
}

void CTableWnd::resizeEvent(QResizeEvent*) {
    m_bar->setGeometry(0, 0, width(), kBarHeight);
    m_grid->setGeometry(0, kBarHeight, width(), qMax(0, height() - kBarHeight));
}

void CTableWnd::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), Qt::black);
}
