#pragma once
// The full-text search window (template 188, "Search"): the user types a query with "UND",
// "ODER", "NICHT", parentheses and phrases, sees the number of hits and the hits by title,
// and opens one; the article then shows the search terms highlighted. Modeless; the main
// window creates it once and shows it again, closing only hides it.
//
// The hits are found through the search index's pre-selection, built once from the almanac
// shortly after the window opens (or at the first search, if that comes sooner).

#include <QPointer>
#include <memory>

#include "controls/TemplateDialog.h"
#include "text/SearchIndex.h"
#include "text/SearchQuery.h"

class CDatabase;
class CSearchHost;
class CListWnd;
class QLineEdit;

class CSearch : public CTemplateDialog {
    Q_OBJECT
public:
    // Control ids of the template.
    enum Control {
        kClose = 1003,
        kSearchButton = 1006,
        kHelp = 1009,
        kQueryField = 1025,
        kOr = 1028,
        kAnd = 1029,
        kNot = 1030,
        kOpen = 1031,
        kCloseGroup = 1032,
        kHitList = 1050,
        kCount = 1058,
        kWholeWords = 1116,
    };
    // The help article and its section on the search.
    static constexpr std::int32_t kHelpArticle = 200000;
    static constexpr const char* kHelpAnchor = "volltextsuche";

    // database: the almanac (not owned; outlives the window); host: where hits open (not
    // owned; may be null, then nothing opens).
    CSearch(QWidget* parent, CDatabase* database, CSearchHost* host);
    ~CSearch() override;

    // Button 1006: translates the query field's text, shows the cleaned text back, fills the
    // hit list and the count.
    void Search();
    // The operator buttons: op goes in at the caret (see SearchField.h).
    void InsertOperator(const QString& op, bool spaceBefore);
    // A hit chosen in the list: a picture record to the graph viewer, any other article to the
    // article window with the terms of the last search.
    void OpenHit(long id);

    QLineEdit* QueryField() const { return m_edit; }
    CListWnd* HitList() const { return m_list; }
    QString CountText() const;
    bool WholeWords() const;
    void SetWholeWords(bool on);
    const CSearchQuery& Translator() const { return m_query; }
    const CSearchIndex& Index() const { return m_index; }

protected:
    void OnCommand(int id) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildIndex();

    CDatabase* m_database;
    CSearchHost* m_host;
    CSearchQuery m_query;
    CSearchIndex m_index;
    bool m_indexTried = false;
    QLineEdit* m_edit = nullptr;
    CListWnd* m_list = nullptr;
};
