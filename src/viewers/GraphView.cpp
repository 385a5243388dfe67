#include "viewers/GraphView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "viewers/GraphViewHost.h"
#include "viewers/ListWnd.h"
#include "viewers/PictureMenu.h"

namespace {

// The list's background, which shows between the entries.
const QColor kListBack(0x5E, 0x6B, 0x85);
// The search field's text when no title starts with it.
const QColor kNotFound(0xB0, 0x20, 0x20);

constexpr int kGap = 2;
constexpr int kLine = 24;

const char* Condition(int n) {
    switch (n) {
        case CGraphView::kTabellen:
            return "WHERE Typ=9 AND SubTyp=4";
        case CGraphView::kGrafiken:
            return "WHERE Typ=9 AND SubTyp=3";
        case CGraphView::kThemenkarten:
            return "WHERE Typ=9 AND SubTyp=2";
        default:
            return "WHERE Typ=9";
    }
}

}  // namespace

CGraphView::CGraphView(QWidget* parent, CDatabase* database, const CViewerEnv& env,
                       const std::string& imgDirectory, CGraphViewHost* host)
    : CTemplateDialog(kTemplate, parent, Placement::Window),
      m_database(database),
      m_env(env),
      m_previewsPath(imgDirectory + "Previews.nox"),
      m_host(host) {
    setObjectName(QStringLiteral("GraphView"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Grafiken und Tabellen"));
    CGraphListItem::Register();

    m_edit = Controls().Edit(kSearchField);
    if (m_edit) {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPointSize(10);
        m_edit->setFont(font);
        m_edit->setClearButtonEnabled(true);
        m_textColour = m_edit->palette().color(QPalette::Text);
        connect(m_edit, &QLineEdit::textChanged, this, &CGraphView::OnSearchText);
        connect(m_edit, &QLineEdit::returnPressed, this, &CGraphView::OnSearchReturn);
        // The keys that scroll the list work from the search field too.
        m_edit->installEventFilter(this);
    }
}

CGraphView::~CGraphView() {
    // The entries read their previews through this window: they go first.
    delete m_list;
    m_list = nullptr;
    m_archive.Close();
}

bool CGraphView::Open() {
    if (!m_env.Reachable(m_previewsPath)) {
        close();
        return false;
    }
    try {
        m_archive.Open(m_previewsPath);
        m_archive.SetPassword(m_env.password);
    } catch (const CZipException&) {
        // Missing or damaged: the entries show their titles alone.
        m_archive.Close();
    }

    // An empty start; the selection fills it.
    m_list = new CListWnd(this);
    m_list->SetBackColour(kListBack);
    m_list->SetScrollAmounts(kLine, 0);
    m_list->Create(m_database, "SELECT * FROM HTML WHERE Typ=-1", "ID", "Title", kGap, 0, 0, this,
                   kList, 0, CGraphListItem::kKind);
    Select(kAlle);
    return true;
}

std::string CGraphView::SelectionQuery(int n) {
    return std::string("SELECT * FROM HTML ") + Condition(n) + " ORDER BY Title ASC";
}

int CGraphView::SelectionButton(int n) {
    switch (n) {
        case kTabellen:
            return kSelTabellen;
        case kGrafiken:
            return kSelGrafiken;
        case kThemenkarten:
            return kSelThemenkarten;
        default:
            return kSelAlle;
    }
}

void CGraphView::Select(int n) {
    if (n < kTabellen || n > kAlle) n = kAlle;
    m_selection = n;
    for (int i = kTabellen; i <= kAlle; ++i) EnableControl(SelectionButton(i), i != n);
    if (!m_list) return;
    m_list->ReQuery(SelectionQuery(n));
    if (m_edit && !m_edit->text().isEmpty()) OnSearchText(m_edit->text());
}

bool CGraphView::FindTitle(const QString& text) {
    if (!m_list) return false;
    // The text is the user's: quoted, and its wildcards taken literally.
    const std::string criteria
        = "Title LIKE '" + SqlQuote(LikeEscape(text.toStdString())) + "*'";
    return m_list->FindFirst(criteria, true);
}

void CGraphView::OnSearchText(const QString& text) {
    m_found = FindTitle(text);
    if (!m_edit) return;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, m_found ? m_textColour : kNotFound);
    m_edit->setPalette(palette);
}

void CGraphView::OnSearchReturn() {
    // Return opens the entry the typed text found, which is the top one.
    if (!m_list || !m_found || m_list->ItemCount() == 0) return;
    const long key = m_list->ItemKey(0);
    m_list->Select(key, false);
    OpenEntry(key);
}

void CGraphView::OpenEntry(long key) {
    if (m_host && key > 0) m_host->OpenGraph(this, static_cast<std::int32_t>(key));
}

CPicture CGraphView::Preview(const std::string& member) {
    const auto kept = m_previews.find(member);
    if (kept != m_previews.end()) return kept->second;

    CPicture preview;
    if (m_archive.IsOpen()) {
        const int index = m_archive.FindFile(member);
        if (index >= 0 && m_archive.GetEntry(index).uncomprSize <= kMaxPreviewBytes) {
            CMemoryBlock block;
            // A damaged member raises nothing here, and the archive stays usable for the next.
            if (m_archive.TryExtractByName(member, block))
                preview.LoadFromMemory(block.data(), block.size(), ScreenDpi());
        }
        ++m_previewsRead;
    }
    if (m_previews.size() >= kMaxKeptPreviews) m_previews.clear();
    m_previews.emplace(member, preview);
    return preview;
}

void CGraphView::OnCommand(int id) {
    switch (id) {
        case kClose:
            close();
            break;
        case kSelTabellen:
            Select(kTabellen);
            break;
        case kSelGrafiken:
            Select(kGrafiken);
            break;
        case kSelThemenkarten:
            Select(kThemenkarten);
            break;
        case kSelAlle:
            Select(kAlle);
            break;
        default:
            CTemplateDialog::OnCommand(id);
            break;
    }
}

bool CGraphView::event(QEvent* event) {
    if (event->type() == CListChoiceEvent::kType) {
        const auto* choice = static_cast<CListChoiceEvent*>(event);
        if (choice->ControlId() == kList) OpenEntry(choice->Key());
        return true;
    }
    return CTemplateDialog::event(event);
}

void CGraphView::contextMenuEvent(QContextMenuEvent* event) {
    // Only on an entry: the menu is about its picture.
    if (!m_list) return;
    const QPoint at = m_list->mapFromGlobal(event->globalPos());
    for (int i = 0; i < m_list->ItemCount(); ++i) {
        if (!m_list->Item(i)->geometry().contains(at)) continue;
        const long key = m_list->ItemKey(i);
        m_list->Select(key, false);
        OnMenuCommand(TrackMenu(event->globalPos()), key);
        return;
    }
}

int CGraphView::TrackMenu(const QPoint& pos) { return TrackPictureMenu(this, pos); }

void CGraphView::OnMenuCommand(int id, long key) {
    switch (id) {
        case kMenuPrint:
            if (m_host && key > 0) m_host->PrintGraph(this, static_cast<std::int32_t>(key));
            break;
        case kMenuExport:
            if (m_host && key > 0) m_host->ExportGraph(this, static_cast<std::int32_t>(key));
            break;
        case kMenuClose:
            close();
            break;
        default:
            break;
    }
}

bool CGraphView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && m_list && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                m_list->LineUp();
                return true;
            case Qt::Key_Down:
                m_list->LineDown();
                return true;
            case Qt::Key_PageUp:
                m_list->PageUp();
                return true;
            case Qt::Key_PageDown:
                m_list->PageDown();
                return true;
            default:
                break;
        }
    }
    return CTemplateDialog::eventFilter(watched, event);
}

void CGraphView::showEvent(QShowEvent* event) {
    CTemplateDialog::showEvent(event);
    if (m_edit) m_edit->setFocus();
}
