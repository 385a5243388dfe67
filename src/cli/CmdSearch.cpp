// kompendor-cli search [--whole-words] QUERY: the full-text search as the search window runs
// it. The query is cleaned and translated (the notices go to stderr as "caption<TAB>text"),
// then the translation and the hit list are printed: "clean=", "condition=", "terms=" (joined
// by "|"), "count=" and one title per line in the hit list's order.
#include <iostream>

#include "cli/CliSettings.h"
#include "data/Database.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "platform/MessageBox.h"
#include "text/SearchIndex.h"
#include "text/SearchQuery.h"

namespace {

// A notice on one line: its line breaks written as \n.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) line += c == '\n' ? std::string("\\n") : std::string(1, c);
    return line;
}

}  // namespace

int RunSearch(const CliArgs& args) {
    bool wholeWords = false;
    bool haveQuery = false;
    std::string typed;
    for (const std::string& word : args.args) {
        if (!haveQuery && word == "--whole-words") {
            wholeWords = true;
            continue;
        }
        // A query given as several words is one query.
        typed += (haveQuery ? " " : "") + word;
        haveQuery = true;
    }
    if (!haveQuery) {
        std::cerr << "kompendor-cli search: the query is missing\n";
        return 2;
    }

    CSearchQuery query;
    query.SetNoticeHandler([](const MessageBoxRequest& request) {
        // Scripted runs keep their notices where they keep every message box.
        if (MessagesAutomated()) {
            ShowMessageBox(request);
            return;
        }
        std::cerr << request.caption << '\t' << OneLine(request.text) << '\n';
    });
    CliInstallation inst = LoadInstallation(args);
    std::unique_ptr<CDatabase> almanac = OpenCliAlmanac(inst, "search");
    if (!almanac) return 1;
    try {
        CDatabase& db = *almanac;
        query.SetSource(&db, "HTML", "SearchText");
        query.SetWholeWords(wholeWords);
        query.Prepare(typed);
        query.Translate();

        // The same hits as the window: through the pre-selection of the search index.
        CSearchIndex index;
        index.Open(db, "HTML", "ID", "SearchText");
        CRecordset rs(&db);
        rs.Open(SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC",
                          index.Condition(query).c_str()));

        std::string terms;
        for (const std::string& term : query.Terms()) terms += (terms.empty() ? "" : "|") + term;
        std::cout << "clean=" << query.GetCleanText() << '\n'
                  << "condition=" << query.GetCondition() << '\n'
                  << "terms=" << terms << '\n'
                  << "count=" << rs.GetRecordCount() << '\n';
        for (; !rs.IsEOF(); rs.MoveNext()) std::cout << ToText(rs.GetFieldValue("Title")) << '\n';
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
