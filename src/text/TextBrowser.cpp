#include "text/TextBrowser.h"

#include <QCursor>
#include <QDesktopServices>
#include <QKeySequence>
#include <QShortcut>
#include <QTimerEvent>
#include <QUrl>

#include "controls/CommandEvent.h"
#include "controls/FlatMenu.h"
#include "data/Database.h"
#include "platform/MessageBox.h"
#include "text/BookmarkDatabase.h"
#include "text/LinkProtocol.h"
#include "text/NOXBrowser.h"
#include "text/TBPanel.h"
#include "text/TextBrowserHost.h"

namespace {

// The panel buttons by panel type 1 to 6.
constexpr int kPanelButtons[]
    = {CTextBrowser::kPanel1Button, CTextBrowser::kPanel2Button, CTextBrowser::kPanel3Button,
       CTextBrowser::kPanel4Button, CTextBrowser::kPanel5Button, CTextBrowser::kPanel6Button};

// The content area of the templates, whose scrolling the history keeps.
const QString kContentArea = QStringLiteral("Layer2");

}  // namespace

CTextBrowser::CTextBrowser(QWidget* parent, CTextBrowserSetup setup)
    : CTemplateDialog(kTemplate, parent, Placement::Window),
      m_setup(std::move(setup)),
      m_pages(m_setup.database, m_setup.htmlFolder) {
    setObjectName(QStringLiteral("TextBrowser"));
    std::uint8_t type = 0;
    if (m_setup.readValue && m_setup.readValue("BookmarkType", &type, 1) && type >= 1 && type <= 6)
        m_bookmarkType = type;

    if (!CheckHtmlFolder()) return;
    m_history.Clear();
    m_history.SetMaximum(kHistoryMaximum);
    EnableControl(kBackButton, false);
    EnableControl(kForwardButton, false);

    m_pBrowser = new CNOXBrowser(this);
    m_pBrowser->SetContextMenuToOwner(true);
    m_pBrowser->SetDocumentEventsToOwner(true);
    m_pBrowser->SetInterceptLinks(true);
    // The article window shows itself when the main window asks it to.
    m_pBrowser->SetShowOnLoad(false);
    m_pBrowser->SetRegistry(m_setup.registry);
    m_pBrowser->WatchScroll(kContentArea);
    // The user's bookmarks, made on first use; without a user folder bookmarks stay off.
    if (!m_setup.userData.empty())
        m_pBrowser->InitBookmarks(m_setup.userData + CBookmarkDatabase::kFileName, true);
    m_pBrowser->SetSourceDatabase(m_setup.database);
    // The panel follows the reader: the section in view is looked up once the scrolling
    // has paused for the timer's period.
    connect(m_pBrowser, &CNOXBrowser::watchedScrolled, this, [this] { RestartSectionTimer(); });
    // Each composed article registers its record with the browser's bookmark support.
    m_pages.SetRecordHook([this](CRecordset& record) {
        m_pBrowser->SyncBookmarks(record, "Title", "Content", "", true);
    });
    m_pBrowser->CreateInPlace(this, Controls(), kBrowserArea,
                              QString::fromStdString(m_setup.htmlFolder + kHostPageFile));
    ShowPanel(1, false);

    // The keyboard's way to the history and the printout.
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this), &QShortcut::activated, this,
            &CTextBrowser::Back);
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this), &QShortcut::activated, this,
            &CTextBrowser::Forward);
    connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this,
            &CTextBrowser::PrintArticle);
}

CTextBrowser::~CTextBrowser() {
    if (m_setup.writeValue) m_setup.writeValue("BookmarkType", &m_bookmarkType, 1);
    // The browser goes while the window's members are still there.
    delete m_pBrowser;
    m_pBrowser = nullptr;
    delete m_panel.widget;
}

bool CTextBrowser::CheckHtmlFolder() {
    if (!m_usable) return false;
    if (!m_setup.checkHtmlFolder || m_setup.checkHtmlFolder()) return true;
    m_usable = false;
    QMetaObject::invokeMethod(
        this,
        [this] {
            close();
            deleteLater();
        },
        Qt::QueuedConnection);
    return false;
}

int CTextBrowser::GetPanel(std::int32_t id) const { return m_pages.GetPanel(id); }

// ---------------------------------------------------------------------------------------
// Showing articles

void CTextBrowser::ShowArticle(std::int32_t id, bool addToHistory, bool selectInPanel,
                               const std::vector<std::string>& searchTerms,
                               const std::string& anchor) {
    if (!CheckHtmlFolder() || !m_pBrowser) return;
    if (id <= 0) return;

    if (addToHistory) {
        KeepScrollInHistory();
        m_history.Push(MakeHistoryEntry(id, anchor));
    }

    if (id == m_currentArticle) {
        // The page is there: only the anchor changes, the search terms stay unmarked.
        if (!anchor.empty()) m_pBrowser->ScrollToAnchor(QString::fromStdString(anchor));
    } else {
        const int type = GetPanel(id);
        if (type == 0 || type > 6) return;
        ShowPanel(type, false);
        m_pBrowser->SetHostPage(QString::fromStdString(m_setup.htmlFolder + kHostPageFile));
        const std::string page = m_pages.Compose(type, id);
        m_currentArticle = id;
        if (!page.empty()) {
            if (!searchTerms.empty()) m_pBrowser->SetHighlightTerms(searchTerms);
            if (!anchor.empty()) m_pBrowser->SetPendingAnchor(QString::fromStdString(anchor));
            m_pBrowser->ShowHTML(QString::fromStdString(page));
        }
    }

    if (m_panel.widget && selectInPanel && m_panel.selectID) m_panel.selectID(id, anchor);
    UpdateHistoryButtons();
    EnableControl(kCopyButton, true);
    EnableControl(kPrintButton, true);
    // The bookmark window follows the article.
    if (m_setup.host) m_setup.host->ArticleShown(id);
}

void CTextBrowser::DisplaySGML(const std::string& linkId) {
    const std::int32_t id = m_pages.FindLinkedArticle(linkId);
    if (id > 0) ShowArticle(id, true, true, {}, linkId);
}

void CTextBrowser::ShowPanel(int type, bool clearPage) {
    if (type == m_panelType) return;
    if (clearPage && m_pBrowser) {
        m_pBrowser->SetHostPage(QString::fromStdString(m_setup.htmlFolder + kHostPageFile));
        m_pBrowser->ShowHTML(QString());
        // The article is gone from the page: opening it again must compose it again.
        m_currentArticle = 0;
    }
    EnableControl(kCopyButton, false);
    EnableControl(kPrintButton, false);
    m_panelType = type;
    for (int t = 1; t <= 6; ++t) EnableControl(kPanelButtons[t - 1], t != type);

    CTBPanelSlot panel = m_setup.createPanel ? m_setup.createPanel(type, *this)
                                             : CreateNavigationPanel(type, *this);
    if (!panel.widget) return;
    panel.widget->setParent(this);
    panel.widget->move(kPanelLeft, kPanelTop);
    panel.widget->show();
    if (QWidget* old = m_panel.widget) {
        old->hide();
        old->deleteLater();
    }
    m_panel = std::move(panel);
}

CTBPanelSlot CTextBrowser::CreateNavigationPanel(int type, CTextBrowser& window) {
    if (!window.Database()) return {};
    CTBPanel* panel = CreateTBPanel(type, &window, window, *window.Database());
    if (!panel) return {};
    return {panel,
            [panel](std::int32_t id, const std::string& anchor) { panel->SelectID(id, anchor); }};
}

void CTextBrowser::RestartSectionTimer() {
    m_sectionTimer.start(kSectionDelay, Qt::PreciseTimer, this);
}

// ---------------------------------------------------------------------------------------
// History

void CTextBrowser::KeepScrollInHistory() {
    CHistoryEntry entry;
    if (!m_pBrowser || !m_history.Get(m_history.Index(), entry)) return;
    m_pBrowser->WatchedScroll(entry.scrollLeft, entry.scrollTop);
    m_history.Set(m_history.Index(), entry);
}

void CTextBrowser::GoToHistoryEntry(const CHistoryEntry& entry) {
    m_pendingScrollLeft = entry.scrollLeft;
    m_pendingScrollTop = entry.scrollTop;
    ShowArticle(entry.articleId, false, true, {}, AnchorOf(entry));
}

void CTextBrowser::Back() {
    if (!m_history.CanGoBack()) return;
    // The article left keeps where it was scrolled, for the way forward again.
    KeepScrollInHistory();
    CHistoryEntry entry;
    if (m_history.Back(entry)) GoToHistoryEntry(entry);
}

void CTextBrowser::Forward() {
    if (!m_history.CanGoForward()) return;
    KeepScrollInHistory();
    CHistoryEntry entry;
    if (m_history.Forward(entry)) GoToHistoryEntry(entry);
}

void CTextBrowser::UpdateHistoryButtons() {
    EnableControl(kBackButton, m_history.CanGoBack());
    EnableControl(kForwardButton, m_history.CanGoForward());
}

// ---------------------------------------------------------------------------------------
// The browser's notifications

bool CTextBrowser::event(QEvent* e) {
    switch (static_cast<int>(e->type())) {
        case NBM_LINKCLICKED:
            if (const CLinkRecord* record = static_cast<CBrowserEvent*>(e)->Record())
                OnLinkClicked(*record);
            return true;
        case NBM_PAGELOADED:
            OnPageLoaded();
            return true;
        case NBM_RELOAD:
            OnReloadRequested();
            return true;
        case NBM_CONTEXTMENU:
            OnPageContextMenu();
            return true;
        case CCommandEvent::kType:
            if (static_cast<CCommandEvent*>(e)->Id() == kSetBookmarkCommand)
                SetBookmarkAtSelection();
            return true;
        default:
            return CTemplateDialog::event(e);
    }
}

void CTextBrowser::OnPageLoaded() {
    const int left = m_pendingScrollLeft, top = m_pendingScrollTop;
    m_pendingScrollLeft = m_pendingScrollTop = 0;
    QPointer<CTextBrowser> alive(this);
    m_pBrowser->GetAnchorNames([alive, this](const std::vector<std::string>& names) {
        if (alive) m_anchorNames = names;
    });
    if (left > 0 || top > 0) m_pBrowser->SetElementScroll(kContentArea, left, top);
    // The scripts run in order: once the names are in, the scroll is done as well.
    m_pBrowser->GetAnchorNames([alive, this](const std::vector<std::string>&) {
        if (alive) emit pageLoaded();
    });
}

void CTextBrowser::OnReloadRequested() {
    const std::int32_t current = m_currentArticle;
    m_currentArticle = -1;
    ShowArticle(current, false, false, {}, "");
}

void CTextBrowser::OnLinkClicked(const CLinkRecord& record) {
    const std::string url = record.url;
    const std::string target = record.target;
    const std::string local = QUrl(QString::fromStdString(url)).toLocalFile().toStdString();
    const CLinkAction action = ReadLink(url, target, local, m_setup.htmlFolder);
    CTextBrowserHost* host = m_setup.host;
    switch (action.kind) {
        case LinkKind::Web:
            OpenExternal(QString::fromStdString(url));
            break;
        case LinkKind::Map:
            if (host) host->ShowMap(this, action.number);
            break;
        case LinkKind::Flag:
            if (host) host->ShowFlag(this, action.number);
            break;
        case LinkKind::Picture:
            if (host)
                host->ShowHTMLImage(this, QString::fromStdString(action.folder), action.number);
            break;
        case LinkKind::Text:
            DisplaySGML(action.identifier);
            break;
        case LinkKind::PictureFile:
            if (host)
                host->OpenImageViewerByFilename(this, QString::fromStdString(action.identifier));
            break;
        case LinkKind::Ignore:
            break;
    }
}

void CTextBrowser::OpenExternal(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

void CTextBrowser::OnPageContextMenu() {
    // Tracked without a loop of its own: the choice comes back as a posted command.
    if (m_contextMenu && m_contextMenu->IsOpen()) m_contextMenu->Destroy();
    m_contextMenu = std::make_unique<CFlatMenu>();
    m_contextMenu->SetStyle(QStringLiteral("MS Sans Serif"), 8, Qt::black, QColor(63, 221, 224),
                            QColor(87, 106, 122), Qt::white, QColor(51, 51, 51));
    m_contextMenu->Attach(-1);
    m_contextMenu->AppendItem(0, QString::fromUtf8(kSetBookmarkItem), kSetBookmarkCommand);
    const QPoint at = QCursor::pos();
    m_contextMenu->TrackPopup(at.x(), at.y(), this, false);
}

void CTextBrowser::OpenBookmarks() {
    if (m_setup.host) m_setup.host->OpenBookmarks(this);
}

void CTextBrowser::SetBookmarkType(std::uint8_t type) {
    if (type >= 1 && type <= 6) m_bookmarkType = type;
}

void CTextBrowser::SetBookmarkAtSelection(std::function<void(std::int32_t)> done) {
    if (!m_pBrowser || !m_pBrowser->HasSelection()) {
        if (m_setup.host) m_setup.host->BookmarkHint();
        if (done) done(-1);
        return;
    }
    QPointer<CTextBrowser> alive(this);
    m_pBrowser->InsertBookmarkAtSelection(m_bookmarkType, [alive, this, done](std::int32_t id) {
        if (!alive) return;
        if (id > 0 && m_setup.host) m_setup.host->BookmarkSet(id);
        if (done) done(id);
    });
}

// ---------------------------------------------------------------------------------------
// Section synchronisation

void CTextBrowser::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_sectionTimer.timerId()) {
        CTemplateDialog::timerEvent(event);
        return;
    }
    m_sectionTimer.stop();
    SyncSection();
}

void CTextBrowser::SyncSection() {
    if (m_anchorNames.empty() || !m_pBrowser) return;
    QPointer<CTextBrowser> alive(this);
    m_pBrowser->GetVisibleRect(kContentArea, [alive, this](bool ok, QRect visible) {
        if (!alive || !ok) return;
        m_pBrowser->GetAnchorRects([alive, this, visible](const std::vector<QRect>& rects) {
            if (!alive) return;
            std::vector<int> tops;
            for (const QRect& r : rects) tops.push_back(r.top());
            const std::string section = CurrentSection(visible.top(), tops, m_anchorNames);
            if (!section.empty() && m_panel.widget && m_panel.selectID && m_currentArticle > 0)
                m_panel.selectID(m_currentArticle, section);
        });
    });
}

// ---------------------------------------------------------------------------------------
// Buttons

void CTextBrowser::CopySelection() {
    if (m_pBrowser && m_pBrowser->HasSelection()) {
        m_pBrowser->Copy();
        ShowMessageBox(kCopiedText, kCaptionHinweis, MsgIcon::Information);
    } else {
        ShowMessageBox(kNoSelectionText, kCaptionHinweis, MsgIcon::Information);
    }
}

void CTextBrowser::PrintArticle() {
    if (!m_pBrowser) return;
    const QStringList layers{QStringLiteral("Layer0"), QStringLiteral("Layer1"),
                             QStringLiteral("Layer2"), QStringLiteral("Layer3"),
                             QStringLiteral("Layer4")};
    QPointer<CTextBrowser> alive(this);
    m_pBrowser->GetElementsHTML(layers, [alive, this](const QStringList& parts) {
        if (!alive) return;
        QString text;
        for (const QString& part : parts)
            if (!part.isEmpty()) text += part + QStringLiteral("<BR>");
        if (!text.isEmpty() && m_setup.host) m_setup.host->PrintHTML(text.toStdString());
    });
}

void CTextBrowser::OnCommand(int id) {
    for (int t = 1; t <= 6; ++t) {
        if (id == kPanelButtons[t - 1]) {
            ShowPanel(t, true);
            return;
        }
    }
    switch (id) {
        case kBackButton:
            Back();
            break;
        case kForwardButton:
            Forward();
            break;
        case kCopyButton:
            CopySelection();
            break;
        case kPrintButton:
            PrintArticle();
            break;
        case kSearchButton:
            if (m_setup.host) m_setup.host->OpenSearch(this);
            break;
        case kBookmarkButton:
            OpenBookmarks();
            break;
        case kCloseButton:
            close();
            deleteLater();
            break;
        default:
            CTemplateDialog::OnCommand(id);
            break;
    }
}
