// The browser wrapper's bookmarks: the database it keeps open, and the steps that read and
// write the page. The string work is in Bookmark.h, the records in BookmarkDatabase.h.
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "text/Bookmark.h"
#include "text/BookmarkDatabase.h"
#include "text/NOXBrowser.h"

namespace {

QString Quoted(const QJsonArray& args) {
    const QByteArray json = QJsonDocument(args).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

}  // namespace

bool CNOXBrowser::InitBookmarks(const std::string& path, bool create) {
    auto bookmarks = std::make_unique<CBookmarkDatabase>();
    if (!bookmarks->Open(path, create)) {
        m_bookmarks.reset();
        return false;
    }
    m_bookmarks = std::move(bookmarks);
    return true;
}

bool CNOXBrowser::CreateBookmarkDatabase(const std::string& path) {
    return CBookmarkDatabase::Create(path);
}

bool CNOXBrowser::BookmarksOn() const { return m_bookmarks && m_bookmarks->IsOpen(); }

std::vector<CBookmarkPlace> CNOXBrowser::StoredPlaces(std::int32_t article) const {
    std::vector<CBookmarkPlace> places;
    if (!BookmarksOn() || article <= 0) return places;
    for (const CBookmarkRecord& r : m_bookmarks->ArticleBookmarks(article)) {
        places.push_back({r.id, r.type, static_cast<std::size_t>(std::max(0, r.startChar)),
                          static_cast<std::size_t>(std::max(0, r.endChar))});
    }
    return places;
}

std::int32_t CNOXBrowser::AddBookmark(const std::string& title, const std::string& note) {
    if (!BookmarksOn()) return 0;
    return m_bookmarks->Add(m_currentArticle, m_currentTitle, title, note);
}

void CNOXBrowser::WriteBody(const QString& html, std::function<void(const QString&)> done,
                            const QString& scrollAnchor) {
    // The page stays where it was scrolled, unless it is to scroll to the anchor.
    RunScript(
        QStringLiteral("(function (html, watch, anchor) {"
                       "  if (!document.body) return '';"
                       "  var nox = window.__nox;"
                       "  var area = nox && watch ? nox.el(watch) : null;"
                       "  var left = area ? area.scrollLeft : 0, top = area ? area.scrollTop : 0;"
                       "  var pageTop = window.scrollY;"
                       "  document.body.innerHTML = html;"
                       "  if (nox) { nox.watched = null; nox.watch(watch); }"
                       "  var a = anchor && nox ? nox.anchor(anchor) : null;"
                       "  if (a) { a.scrollIntoView(true); }"
                       "  else {"
                       "    area = nox && watch ? nox.el(watch) : null;"
                       "    if (area) { area.scrollLeft = left; area.scrollTop = top; }"
                       "    window.scrollTo(window.scrollX, pageTop);"
                       "  }"
                       "  return document.body.innerHTML;"
                       "})(%1)")
            .arg(Quoted(QJsonArray{html, m_watchedName, scrollAnchor})),
        [done](const QVariant& body) {
            if (done) done(body.toString());
        });
}

void CNOXBrowser::InsertBookmarkAtSelection(unsigned type, std::function<void(std::int32_t)> done) {
    auto finish = [done](std::int32_t id) {
        if (done) done(id);
    };
    if (!BookmarksOn() || m_loading || !HasSelection() || m_currentArticle <= 0) {
        finish(-1);
        return;
    }
    const std::string title = BookmarkTitle(SelectedText().toStdString());
    const unsigned serial = m_loadSerial;
    const std::int32_t article = m_currentArticle;
    // The marks go in at the selection's end first, so its start stays where it is.
    RunScript(
        QStringLiteral("(function (startMark, endMark) {"
                       "  var sel = window.getSelection();"
                       "  if (!document.body || !sel || sel.rangeCount === 0 || sel.isCollapsed)"
                       "    return null;"
                       "  var range = sel.getRangeAt(0);"
                       "  if (!document.body.contains(range.commonAncestorContainer)) return null;"
                       "  var end = range.cloneRange(); end.collapse(false);"
                       "  end.insertNode(document.createTextNode(endMark));"
                       "  var start = range.cloneRange(); start.collapse(true);"
                       "  start.insertNode(document.createTextNode(startMark));"
                       "  sel.removeAllRanges();"
                       "  return document.body.innerHTML;"
                       "})(%1)")
            .arg(Quoted(QJsonArray{
                QString::fromUtf8(kSelectionStartMark.data(), int(kSelectionStartMark.size())),
                QString::fromUtf8(kSelectionEndMark.data(), int(kSelectionEndMark.size()))})),
        [this, type, title, serial, article, finish](const QVariant& result) {
            if (result.isNull() || serial != m_loadSerial || article != m_currentArticle) {
                finish(-1);
                return;
            }
            std::string html = result.toString().toStdString();
            CBookmarkRange range;
            const bool marked = TakeSelectionMarks(html, range);
            const std::int32_t id
                = marked ? m_bookmarks->Add(article, m_currentTitle, title, "", type) : 0;
            if (id <= 0) {
                // The page as it was, without the marks.
                RemoveSelectionMarks(html);
                WriteBody(QString::fromStdString(html), {});
                finish(-1);
                return;
            }
            WidenAroundLinks(html, range);
            InsertBookmarkMarkup(html, range, type, id);
            WriteBody(
                QString::fromStdString(html),
                [this, serial, article, id, finish](const QString& body) {
                    if (serial != m_loadSerial || !BookmarksOn()) {
                        // Another page came in between: the bookmark cannot be measured.
                        if (BookmarksOn()) m_bookmarks->DeleteSingle(id);
                        finish(-1);
                        return;
                    }
                    std::string text = body.toStdString();
                    m_bookmarks->StorePositions(article, MeasureBookmarks(text));
                    finish(id);
                },
                QString::fromStdString(BookmarkAnchor(id)));
        });
}

void CNOXBrowser::RetrieveBookmarks(std::function<void()> done) {
    const std::vector<CBookmarkPlace> places = StoredPlaces(m_currentArticle);
    if (places.empty() || m_loading) {
        if (done) done();
        return;
    }
    GetBodyHTML([this, places, done](const QString& body) {
        std::string text = body.toStdString();
        if (text.size() > 1) {
            InsertBookmarks(text, places);
            WriteBody(QString::fromStdString(text), {});
        }
        if (done) done();
    });
}

void CNOXBrowser::StoreBookmarkPositions(std::function<void()> done) {
    if (!BookmarksOn()) {
        if (done) done();
        return;
    }
    const std::int32_t article = m_currentArticle;
    GetBodyHTML([this, article, done](const QString& body) {
        std::string text = body.toStdString();
        if (BookmarksOn()) m_bookmarks->StorePositions(article, MeasureBookmarks(text));
        if (done) done();
    });
}

std::int32_t CNOXBrowser::GetBookmarkContentID(std::int32_t id) const {
    return BookmarksOn() ? m_bookmarks->ContentID(id) : 0;
}

std::int32_t CNOXBrowser::GetBookmarkNodeID() const {
    return BookmarksOn() ? m_bookmarks->NodeID(m_currentArticle) : 0;
}

void CNOXBrowser::DeleteBookmark(std::int32_t id, std::function<void(bool)> done) {
    auto finish = [done](bool deleted) {
        if (done) done(deleted);
    };
    CBookmarkRecord record;
    if (!BookmarksOn() || !m_bookmarks->Read(id, record)) {
        finish(false);
        return;
    }
    if (record.pid == 0) {
        const long deleted = m_bookmarks->DeleteArticle(record.mid);
        if (deleted < 0) {
            finish(false);
            return;
        }
        if (record.mid == m_currentArticle || deleted > 1) ReloadPage();
        finish(true);
        return;
    }
    // A single bookmark leaves the page it is on; a page that still loads is waited for.
    if (m_loading) {
        m_afterLoad.push_back([this, id, done] { DeleteBookmark(id, done); });
        return;
    }
    const unsigned serial = m_loadSerial;
    GetBodyHTML([this, id, serial, finish](const QString& body) {
        std::string text = body.toStdString();
        if (serial != m_loadSerial || !BookmarksOn() || !RemoveBookmarkMarkup(text, id)
            || !m_bookmarks->DeleteSingle(id)) {
            finish(false);
            return;
        }
        WriteBody(QString::fromStdString(text), {});
        finish(true);
    });
}

void CNOXBrowser::DeleteAllBookmarks() {
    if (!BookmarksOn()) return;
    const bool shown = m_bookmarks->HasRecords(m_currentArticle);
    if (m_bookmarks->DeleteAll() && shown) ReloadPage();
}

bool CNOXBrowser::SetBookmarkNote(std::int32_t id, const std::string& note) {
    return BookmarksOn() && m_bookmarks->SetNote(id, note);
}

std::string CNOXBrowser::GetBookmarkNote(std::int32_t id) const {
    return BookmarksOn() ? m_bookmarks->GetNote(id) : std::string();
}

bool CNOXBrowser::RenameBookmark(std::int32_t id, const std::string& title, unsigned type) {
    return BookmarksOn() && m_bookmarks->Rename(id, title, type);
}

unsigned CNOXBrowser::GetBookmarkType(std::int32_t id) const {
    return BookmarksOn() ? m_bookmarks->GetType(id) : 0;
}

void CNOXBrowser::ShowBookmark(std::int32_t id) {
    ScrollToAnchor(QString::fromStdString(BookmarkAnchor(id)));
}

void CNOXBrowser::ReloadPage() {
    if (m_ownerRenders) {
        SendToOwner(NBM_RELOAD, m_ownerId);
        return;
    }
    if (!m_sourceDatabase || m_sourceQuery.empty()) return;
    m_currentArticle = -1;
    const std::string title = m_titleField, content = m_contentField, removal = m_removal;
    DBRead(*m_sourceDatabase, m_sourceQuery, "CNOXBrowser::ReloadPage", [&](CRecordset& rs) {
        if (!rs.IsEOF()) SetHTML(rs, title, content, removal);
    });
}
