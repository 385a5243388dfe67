#pragma once
// CBookmarkWnd: the bookmark window (template 202). A tree over the bookmark database of the
// article window's browser (a node per article, its bookmarks below it), the note of the
// selected bookmark, the six picture types of new bookmarks and the commands: set a bookmark
// on the page's selection, delete, rename, delete all, help, close. Selecting an entry opens
// its article at the bookmark; the tree follows the article the article window shows.
//
// The main window creates it on first use with the article window handed in, shows it again
// later, and hears from the article window when to refresh it. It goes with the article
// window, whose browser keeps the database open.
//
// CBookmarkRenameDlg: the rename dialog (template 204), a title and the six picture types.

#include <QBasicTimer>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/TemplateDialog.h"

class CNOXBrowser;
class CNOXTreeCtrl;
class CTextBrowser;
class QLineEdit;
class QPlainTextEdit;

struct CBookmarkWndSetup {
    CTextBrowser* textBrowser = nullptr;  // the article window; not owned
    // Opens the help article at the bookmarks' section.
    std::function<void()> openHelp;
};

class CBookmarkWnd : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 202;
    enum ControlId {
        kTree = 1015,
        kNote = 1059,
        kSetButton = 1058,
        kDeleteButton = 1032,
        kRenameButton = 1043,
        kHelpButton = 1081,
        kDeleteAllButton = 1044,
        kType1Button = 1112,  // 1112..1117: picture types 1 to 6
        kType6Button = 1117,
        kCloseButton = 1003,
    };
    // The window shows itself this long after it was made.
    static constexpr int kShowDelay = 5;
    // The tree's order; the window also knows "Title ASC", which no control selects.
    static constexpr const char* kOrder = "StartChar ASC, Title ASC";
    static constexpr const char* kOrderByTitle = "Title ASC";
    inline static const char* const kDeleteAllQuestion
        = "Durch diesen Vorgang werden alle Lesezeichen unwiderruflich gelöscht!!!\n\n"
          "Sind Sie sicher?";
    // The help article and its anchor.
    static constexpr std::int32_t kHelpArticle = 200000;
    static constexpr const char* kHelpAnchor = "lesezeichenfunktion";

    CBookmarkWnd(QWidget* parent, CBookmarkWndSetup setup);
    ~CBookmarkWnd() override;

    // Selects the node of the article the article window shows (nothing selected when it has
    // none), unless the entry selected belongs to that article already.
    void FollowArticle();
    // A bookmark was set on the page: the tree is filled again with it selected.
    void BookmarkSet(std::int32_t id);

    CNOXTreeCtrl* Tree() const { return m_tree; }
    QPlainTextEdit* NoteField() const { return m_note; }
    // The bookmark whose note the field shows; -1 for none.
    std::int32_t SelectedBookmark() const { return m_selected; }

protected:
    void OnCommand(int id) override;
    void timerEvent(QTimerEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Runs the rename dialog preset with title and type; false when it was cancelled.
    virtual bool RunRenameDialog(std::string& title, unsigned& type);

private:
    CNOXBrowser* Browser() const;
    void OnSelChanged(std::int32_t id);
    // Writes the note field into the bookmark it belongs to.
    void SaveNote();
    // The tree filled again; nothing selected, the buttons of a selection off.
    void Refill();
    void ClearSelection();
    void UpdateTypeButtons();
    void DeleteSelected();
    void RenameSelected();
    void DeleteAll();

    CBookmarkWndSetup m_setup;
    QPointer<CTextBrowser> m_text;
    CNOXTreeCtrl* m_tree = nullptr;
    QPlainTextEdit* m_note = nullptr;
    std::int32_t m_selected = -1;
    // Set while the program changes the tree, or opens the entry the user chose.
    bool m_suppress = false;
    bool m_opening = false;
    QBasicTimer m_showTimer;
};

class CBookmarkRenameDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 204;
    enum ControlId { kTitle = 1025, kOk = 1004, kClose = 1003 };

    CBookmarkRenameDlg(QWidget* parent, const QString& title, unsigned type);
    QString Title() const;
    unsigned Type() const { return m_type; }

protected:
    void OnCommand(int id) override;

private:
    void UpdateTypeButtons();

    QLineEdit* m_title = nullptr;
    unsigned m_type = 1;
};
