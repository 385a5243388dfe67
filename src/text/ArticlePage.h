#pragma once
// Composing the page of an article (a record of table HTML) from its template in the HTML
// folder: "TBChronik.htm" for articles of type 1 (countries), "TBPers.htm" for type 2
// (persons), "TBPlain.htm" for types 3 to 6. The article window hands the result to its
// browser, kompendor-cli prints it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDatabase;
class CRecordset;

inline constexpr const char* kHostPageFile = "TB.htm";
inline constexpr const char* kPrintPageFile = "print.htm";

class CArticlePages {
public:
    // Called with the open record set of each article composed (the bookmark support
    // registers the article shown this way).
    using RecordHook = std::function<void(CRecordset& record)>;

    // database must outlive the object; htmlFolder ends with "/".
    CArticlePages(CDatabase* database, std::string htmlFolder);

    void SetRecordHook(RecordHook hook) { m_hook = std::move(hook); }
    const std::string& HtmlFolder() const { return m_htmlFolder; }

    // The article type (HTML.Typ) of article id; 0 when there is no such record or the
    // database fails (reported as "CTextBrowser::GetPanel").
    int GetPanel(std::int32_t id) const;

    // The composed page of an article of type 1, 2 and 3 to 6. A missing template gives "",
    // a missing record the template with its placeholders emptied; a database failure is
    // reported and gives what was composed up to it.
    std::string DisplayChroniken(std::int32_t id) const;
    std::string DisplayPerson(std::int32_t id) const;
    std::string GetPlainHTML(std::int32_t id) const;
    // The composer of that type; "" for a type outside 1 to 6.
    std::string Compose(int type, std::int32_t id) const;

    // The article whose LINKID_SET holds the link identifier (the identifiers are enclosed
    // in semicolons); 0 when there is none or the database fails (reported as
    // "CTextBrowser::DisplaySGML"). A set holding exactly the identifier comes before a set
    // in which it is only part of an identifier.
    std::int32_t FindLinkedArticle(const std::string& linkId) const;

private:
    std::string ReadTemplate(const char* file) const;

    CDatabase* m_db;
    std::string m_htmlFolder;
    RecordHook m_hook;
};

// The section of the page in view: the anchor before the first anchor (from the second on)
// whose top is at or below visibleTop; "" when there is no such anchor. anchorTops and
// anchorNames are in document order.
std::string CurrentSection(int visibleTop, const std::vector<int>& anchorTops,
                           const std::vector<std::string>& anchorNames);
