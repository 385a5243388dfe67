#include "mainwnd/BookmarkWnd.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimerEvent>

#include "noxctrls/CheckCtrl.h"
#include "platform/MessageBox.h"
#include "text/BookmarkDatabase.h"
#include "text/NOXBrowser.h"
#include "text/NOXTreeCtrl.h"
#include "text/TBPanels.h"
#include "text/TextBrowser.h"

namespace {

void SetTypeButtons(CTemplateDialog& dialog, unsigned type) {
    for (int id = CBookmarkWnd::kType1Button; id <= CBookmarkWnd::kType6Button; ++id)
        if (CCheckCtrl* check = dialog.Controls().Check(id))
            check->SetChecked(unsigned(id - CBookmarkWnd::kType1Button + 1) == type);
}

}  // namespace

CBookmarkWnd::CBookmarkWnd(QWidget* parent, CBookmarkWndSetup setup)
    : CTemplateDialog(kTemplate, parent, Placement::Window),
      m_setup(std::move(setup)),
      m_text(m_setup.textBrowser) {
    setObjectName(QStringLiteral("Bookmark"));
    m_tree = new CNOXTreeCtrl(this);
    if (!Controls().Replace(kTree, m_tree)) m_tree->setGeometry(12, 44, 336, 284);
    m_tree->setFont(PanelFont());
    // The navigation trees' look.
    m_tree->SetItemBitmaps(186, 187, 185);
    m_tree->SetColours(QColor(241, 246, 255), QColor(255, 187, 187), QColor(255, 187, 187),
                       QColor(123, 123, 165), QColor(81, 96, 110), QColor(81, 96, 110));
    m_tree->SetOrder(kOrder);
    if (CNOXBrowser* browser = Browser(); browser && browser->Bookmarks()) {
        m_tree->InitTree(browser->Bookmarks()->Database(), "Bookmark", "");
        m_suppress = true;
        m_tree->Refresh();
        m_suppress = false;
    }
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this,
            [this] { OnSelChanged(m_tree->GetSelectedID()); });
    m_note = Controls().Control<QPlainTextEdit>(kNote);
    EnableControl(kRenameButton, false);
    EnableControl(kDeleteButton, false);
    UpdateTypeButtons();
    // The database goes with the article window's browser: so does this window.
    if (m_text) {
        connect(m_text, &QObject::destroyed, this, [this] {
            // The signal comes while the article window is half gone, its browser deleted:
            // nothing here may reach it any more.
            m_text.clear();
            m_selected = -1;
            m_suppress = true;
            m_tree->clear();
            hide();
            deleteLater();
        });
    }
    m_showTimer.start(kShowDelay, Qt::PreciseTimer, this);
}

CBookmarkWnd::~CBookmarkWnd() { SaveNote(); }

CNOXBrowser* CBookmarkWnd::Browser() const { return m_text ? m_text->Browser() : nullptr; }

void CBookmarkWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_showTimer.timerId()) {
        CTemplateDialog::timerEvent(event);
        return;
    }
    m_showTimer.stop();
    show();
    raise();
    activateWindow();
    FollowArticle();
}

void CBookmarkWnd::hideEvent(QHideEvent* event) {
    // A note typed and the window closed: the note stays.
    SaveNote();
    CTemplateDialog::hideEvent(event);
}

void CBookmarkWnd::SaveNote() {
    CNOXBrowser* browser = Browser();
    if (m_selected <= 0 || !browser || !m_note) return;
    const std::string note = m_note->toPlainText().toStdString();
    if (note != browser->GetBookmarkNote(m_selected)) browser->SetBookmarkNote(m_selected, note);
}

void CBookmarkWnd::UpdateTypeButtons() {
    SetTypeButtons(*this, m_text ? m_text->BookmarkType() : 1);
}

void CBookmarkWnd::ClearSelection() {
    m_suppress = true;
    m_tree->clearSelection();
    m_tree->setCurrentItem(nullptr);
    m_suppress = false;
    m_selected = -1;
    if (m_note) m_note->clear();
    EnableControl(kRenameButton, false);
    EnableControl(kDeleteButton, false);
}

void CBookmarkWnd::Refill() {
    ClearSelection();
    m_suppress = true;
    m_tree->Refresh();
    m_tree->clearSelection();
    m_tree->setCurrentItem(nullptr);
    m_suppress = false;
}

void CBookmarkWnd::OnSelChanged(std::int32_t id) {
    if (m_suppress) return;
    EnableControl(kRenameButton, id > 0);
    EnableControl(kDeleteButton, id > 0);
    SaveNote();
    CNOXBrowser* browser = Browser();
    if (id <= 0 || !browser) {
        m_selected = -1;
        if (m_note) m_note->clear();
        return;
    }
    // The article of the entry, scrolled to the bookmark; the tree keeps the user's entry.
    m_opening = true;
    const std::int32_t article = browser->GetBookmarkContentID(id);
    if (article > 0) m_text->ShowArticle(article, true, false, {}, "");
    browser->ShowBookmark(id);
    m_text->RestartSectionTimer();
    if (!m_text->isVisible()) m_text->show();
    m_opening = false;
    if (m_note) m_note->setPlainText(QString::fromStdString(browser->GetBookmarkNote(id)));
    m_selected = id;
}

void CBookmarkWnd::FollowArticle() {
    CNOXBrowser* browser = Browser();
    if (m_opening || !browser || !browser->Bookmarks()) return;
    const std::int32_t article = browser->CurrentArticle();
    const std::int32_t chosen = m_tree->GetSelectedID();
    if (chosen > 0 && article > 0 && browser->GetBookmarkContentID(chosen) == article) return;
    SaveNote();
    const std::int32_t node = article > 0 ? browser->GetBookmarkNodeID() : 0;
    if (node <= 0) {
        ClearSelection();
        return;
    }
    m_suppress = true;
    m_tree->SelectID(node, true);
    // The article's bookmarks in view below their node.
    if (QTreeWidgetItem* item = m_tree->FindItem(node)) item->setExpanded(true);
    m_suppress = false;
    m_selected = node;
    if (m_note) m_note->setPlainText(QString::fromStdString(browser->GetBookmarkNote(node)));
    EnableControl(kRenameButton, true);
    EnableControl(kDeleteButton, true);
}

void CBookmarkWnd::BookmarkSet(std::int32_t id) {
    SaveNote();
    Refill();
    m_suppress = true;
    m_tree->SelectID(id, true);
    m_suppress = false;
    m_selected = id;
    if (CNOXBrowser* browser = Browser(); browser && m_note)
        m_note->setPlainText(QString::fromStdString(browser->GetBookmarkNote(id)));
    EnableControl(kRenameButton, true);
    EnableControl(kDeleteButton, true);
}

void CBookmarkWnd::DeleteSelected() {
    CNOXBrowser* browser = Browser();
    const std::int32_t id = m_tree->GetSelectedID();
    if (!browser || id <= 0) return;
    // The entry that takes its place: the next one, else the one before, else its node.
    std::int32_t neighbour = 0;
    if (QTreeWidgetItem* item = m_tree->FindItem(id)) {
        QTreeWidgetItem* parent = item->parent();
        const int index = parent ? parent->indexOfChild(item) : m_tree->indexOfTopLevelItem(item);
        const int count = parent ? parent->childCount() : m_tree->topLevelItemCount();
        auto at = [&](int k) { return parent ? parent->child(k) : m_tree->topLevelItem(k); };
        if (index + 1 < count)
            neighbour = CNOXTreeCtrl::ItemID(at(index + 1));
        else if (index > 0)
            neighbour = CNOXTreeCtrl::ItemID(at(index - 1));
        else if (parent)
            neighbour = CNOXTreeCtrl::ItemID(parent);
    }
    // The note goes with the entry.
    m_selected = -1;
    QPointer<CBookmarkWnd> alive(this);
    browser->DeleteBookmark(id, [alive, this, neighbour](bool deleted) {
        if (!alive || !deleted) return;
        Refill();
        if (neighbour > 0) {
            m_suppress = true;
            m_tree->SelectID(neighbour, false);
            m_tree->clearSelection();
            m_suppress = false;
        }
    });
}

bool CBookmarkWnd::RunRenameDialog(std::string& title, unsigned& type) {
    CBookmarkRenameDlg dialog(this, QString::fromStdString(title), type);
    dialog.move(mapToGlobal(QPoint((width() - dialog.width()) / 2, 120)));
    if (dialog.exec() != QDialog::Accepted) return false;
    title = dialog.Title().toStdString();
    type = dialog.Type();
    return true;
}

void CBookmarkWnd::RenameSelected() {
    CNOXBrowser* browser = Browser();
    const std::int32_t id = m_tree->GetSelectedID();
    QTreeWidgetItem* item = m_tree->FindItem(id);
    if (!browser || id <= 0 || !item) return;
    std::string title = item->text(0).toStdString();
    unsigned type = browser->GetBookmarkType(id);
    if (type < 1 || type > 6) type = 1;
    SaveNote();
    if (!RunRenameDialog(title, type)) return;
    // An emptied title keeps the one there was.
    if (title.empty()) title = item->text(0).toStdString();
    if (!browser->RenameBookmark(id, title, type)) return;
    Refill();
    m_suppress = true;
    m_tree->SelectID(id, true);
    m_suppress = false;
    m_selected = id;
    if (m_note) m_note->setPlainText(QString::fromStdString(browser->GetBookmarkNote(id)));
    EnableControl(kRenameButton, true);
    EnableControl(kDeleteButton, true);
    // The page shows the new picture, at the bookmark.
    browser->SetPendingAnchor(QString::fromStdString(BookmarkAnchor(id)));
    browser->ReloadPage();
}

void CBookmarkWnd::DeleteAll() {
    CNOXBrowser* browser = Browser();
    if (!browser) return;
    if (ShowMessageBox(kDeleteAllQuestion, "HINWEIS", MsgIcon::Question, MsgButtons::YesNo, 1)
        != IDYES)
        return;
    m_selected = -1;
    browser->DeleteAllBookmarks();
    Refill();
}

void CBookmarkWnd::OnCommand(int id) {
    if (id >= kType1Button && id <= kType6Button) {
        if (m_text) m_text->SetBookmarkType(static_cast<std::uint8_t>(id - kType1Button + 1));
        UpdateTypeButtons();
        return;
    }
    switch (id) {
        case kSetButton:
            // The article window tells the main window, which selects the new bookmark here.
            if (m_text) m_text->SetBookmarkAtSelection();
            break;
        case kDeleteButton:
            DeleteSelected();
            break;
        case kRenameButton:
            RenameSelected();
            break;
        case kDeleteAllButton:
            DeleteAll();
            break;
        case kHelpButton:
            if (m_setup.openHelp) m_setup.openHelp();
            break;
        case kCloseButton:
            hide();
            break;
        default:
            CTemplateDialog::OnCommand(id);
            break;
    }
}

// ---------------------------------------------------------------------------------------------

CBookmarkRenameDlg::CBookmarkRenameDlg(QWidget* parent, const QString& title, unsigned type)
    : CTemplateDialog(kTemplate, parent, Placement::Window), m_type(type) {
    setObjectName(QStringLiteral("BookmarkRename"));
    setModal(true);
    m_title = Controls().Edit(kTitle);
    if (m_title) {
        m_title->setMaxLength(int(kBookmarkFieldChars));
        m_title->setText(title);
        m_title->selectAll();
        m_title->setFocus();
        connect(m_title, &QLineEdit::returnPressed, this, &QDialog::accept);
    }
    UpdateTypeButtons();
}

QString CBookmarkRenameDlg::Title() const {
    return m_title ? m_title->text().trimmed() : QString();
}

void CBookmarkRenameDlg::UpdateTypeButtons() { SetTypeButtons(*this, m_type); }

void CBookmarkRenameDlg::OnCommand(int id) {
    if (id >= CBookmarkWnd::kType1Button && id <= CBookmarkWnd::kType6Button) {
        m_type = unsigned(id - CBookmarkWnd::kType1Button + 1);
        UpdateTypeButtons();
        return;
    }
    if (id == kOk)
        accept();
    else if (id == kClose)
        reject();
    else
        CTemplateDialog::OnCommand(id);
}
