#include "text/ArticlePage.h"

#include <algorithm>

#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/TextFile.h"
#include "data/ValueRoutines.h"
#include "text/TemplateText.h"

namespace {

std::string Text(const CRecordset& rs, const char* field) {
    return ToText(rs.GetFieldValue(field));
}

long Integer(const CRecordset& rs, const char* field) {
    double number = 0;
    ToNumber(rs.GetFieldValue(field), number);
    return static_cast<long>(number);
}

// A picture that is a link of the link protocol: href the number, the target its kind.
std::string PictureLink(long number, const char* target, const std::string& src) {
    return "<A href=\"" + std::to_string(number) + "\" Target=\"" + target + "\"><img src='" + src
           + "' hspace=0 vspace=0 border=0></A>";
}

std::string OrSpace(std::string text) { return text.empty() ? std::string("&nbsp;") : text; }

void EmptyTokens(std::string& page, std::initializer_list<const char*> tokens) {
    for (const char* token : tokens) ReplaceAll(page, token, "");
}

}  // namespace

CArticlePages::CArticlePages(CDatabase* database, std::string htmlFolder)
    : m_db(database), m_htmlFolder(std::move(htmlFolder)) {}

std::string CArticlePages::ReadTemplate(const char* file) const {
    std::string text;
    ReadTextFile(m_htmlFolder + file, text);
    return text;
}

int CArticlePages::GetPanel(std::int32_t id) const {
    if (!m_db) return 0;
    int type = 0;
    DBRead(*m_db, SqlFormat("SELECT Typ FROM HTML WHERE ID=%li", long(id)),
           "CTextBrowser::GetPanel", [&](CRecordset& rs) {
               if (!rs.IsEOF()) type = static_cast<int>(Integer(rs, "Typ") & 0xFF);
           });
    return type;
}

std::string CArticlePages::DisplayChroniken(std::int32_t id) const {
    std::string page = ReadTemplate("TBChronik.htm");
    if (m_db) {
        DBRead(*m_db, SqlFormat("SELECT * FROM HTML WHERE ID=%li", long(id)),
               "CTextBrowser::DisplayChroniken", [&](CRecordset& rs) {
                   if (rs.IsEOF()) return;
                   ReplaceAll(page, "%Title%", OrSpace(Text(rs, "Title")));
                   const long land = Integer(rs, "LandID");
                   // The map link is there even for an article without a country (LandID 0).
                   ReplaceAll(page, "%Map%",
                              "(-&raquo; <A HREF=\"" + std::to_string(land)
                                  + "\" Target=\"Map\">Karte</A>)");
                   const std::string picture = Text(rs, "ABBILDUNG");
                   ReplaceAll(page, "%Flag%",
                              picture.empty() ? std::string("&nbsp;")
                                              : PictureLink(land, "Flag", "Flags/" + picture));
                   ReplaceAll(page, "%Content%", OrSpace(Text(rs, "Content")));
                   if (m_hook) m_hook(rs);
               });
    }
    EmptyTokens(page, {"%Title%", "%Map%", "%Flag%", "%Content%"});
    return page;
}

std::string CArticlePages::DisplayPerson(std::int32_t id) const {
    std::string page = ReadTemplate("TBPers.htm");
    if (m_db) {
        bool read = false;
        long land = 0;
        DBRead(*m_db, SqlFormat("SELECT * FROM HTML WHERE ID=%li", long(id)),
               "CTextBrowser::DisplayPerson", [&](CRecordset& rs) {
                   if (rs.IsEOF()) return;
                   land = Integer(rs, "LandID");
                   read = true;
                   ReplaceAll(page, "%Title%", OrSpace(Text(rs, "Title")));
                   const std::string picture = Text(rs, "ABBILDUNG");
                   ReplaceAll(page, "%Portrait%",
                              picture.empty()
                                  ? std::string("&nbsp;")
                                  : PictureLink(id, "Portrait", "Portraits/" + picture));
                   ReplaceAll(page, "%Content%", OrSpace(Text(rs, "Content")));
                   if (m_hook) m_hook(rs);
               });
        if (read) {
            DBRead(*m_db, SqlFormat("SELECT * FROM Land WHERE ID=%li", land),
                   "CTextBrowser::DisplayPerson", [&](CRecordset& rs) {
                       if (rs.IsEOF()) return;
                       // The country's name as it is; a person without one shows nothing.
                       ReplaceAll(page, "%Land%", Text(rs, "Title"));
                       const std::string flag = Text(rs, "FLAGGEN");
                       if (!flag.empty()) {
                           ReplaceAll(page, "%Flag%",
                                      PictureLink(land, "Flag", "Flags/" + flag)
                                          + "<img src='dummy.gif' height=8 width=6>");
                       }
                   });
        }
    }
    EmptyTokens(page, {"%Title%", "%Portrait%", "%Content%", "%Flag%", "%Land%"});
    return page;
}

std::string CArticlePages::GetPlainHTML(std::int32_t id) const {
    std::string page = ReadTemplate("TBPlain.htm");
    if (m_db) {
        DBRead(*m_db, SqlFormat("SELECT * FROM HTML WHERE ID=%li", long(id)),
               "CTextBrowser::GetPlainHTML", [&](CRecordset& rs) {
                   if (rs.IsEOF()) return;
                   ReplaceAll(page, "%Title%", OrSpace(Text(rs, "Title")));
                   ReplaceAll(page, "%Content%", OrSpace(Text(rs, "Content")));
                   if (m_hook) m_hook(rs);
               });
    }
    EmptyTokens(page, {"%Title%", "%Content%"});
    return page;
}

std::string CArticlePages::Compose(int type, std::int32_t id) const {
    if (type == 1) return DisplayChroniken(id);
    if (type == 2) return DisplayPerson(id);
    if (type >= 3 && type <= 6) return GetPlainHTML(id);
    return {};
}

std::int32_t CArticlePages::FindLinkedArticle(const std::string& linkId) const {
    if (!m_db || linkId.empty()) return 0;
    // The identifier comes from a page's link: quoted, and its wildcards made literal.
    const std::string literal = SqlQuote(LikeEscape(linkId));
    long found = 0;
    for (const std::string& pattern : {"*;" + literal + ";*", ";*" + literal + "*;"}) {
        const bool read
            = DBRead(*m_db, "SELECT * FROM HTML WHERE LINKID_SET LIKE '" + pattern + "'",
                     "CTextBrowser::DisplaySGML", [&](CRecordset& rs) {
                         if (!rs.IsEOF()) found = Integer(rs, "ID");
                     });
        if (!read || found > 0) break;
    }
    return found > 0 ? static_cast<std::int32_t>(found) : 0;
}

std::string CurrentSection(int visibleTop, const std::vector<int>& anchorTops,
                           const std::vector<std::string>& anchorNames) {
    const std::size_t count = std::min(anchorTops.size(), anchorNames.size());
    for (std::size_t i = 1; i < count; ++i)
        if (anchorTops[i] >= visibleTop) return anchorNames[i - 1];
    return {};
}
