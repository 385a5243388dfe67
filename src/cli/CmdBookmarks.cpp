// kompendor-cli bookmarks [FILE]: the bookmark database (the user's "Bookmark.mdb" unless FILE
// names another) as the bookmark window's tree: each article's title with its number, then
// one line per bookmark with its ID, picture type, positions, title and note.
#include <sys/stat.h>

#include <algorithm>
#include <iostream>
#include <map>

#include "cli/CliSettings.h"
#include "data/ErrorReporter.h"
#include "data/ValueRoutines.h"
#include "text/BookmarkDatabase.h"

namespace {

void PrintBookmark(const CBookmarkRecord& b) {
    std::cout << "  " << b.id << "  type " << b.type << "  " << b.startChar << "-" << b.endChar
              << "  " << b.title;
    const std::string_view note = b.note == " " ? std::string_view() : std::string_view(b.note);
    if (!note.empty()) std::cout << "  note: " << note;
    std::cout << '\n';
}

}  // namespace

int RunBookmarks(const CliArgs& args) {
    if (args.args.size() > 1 || (args.args.size() == 1 && args.args[0].empty())) {
        std::cerr << "usage: kompendor-cli [--base DIR] bookmarks [FILE]\n";
        return 2;
    }
    std::string path;
    if (args.args.empty()) {
        const CliInstallation inst = LoadInstallation(args);
        path = inst.settings->userData + CBookmarkDatabase::kFileName;
    } else {
        path = args.args[0];
    }
    // Listing never creates the file.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        std::cerr << "kompendor-cli bookmarks: " << path << ": there is no bookmark database\n";
        return 1;
    }
    CBookmarkDatabase bookmarks;
    if (!bookmarks.Open(path, false)) {
        std::cerr << "kompendor-cli bookmarks: " << path << ": not a bookmark database\n";
        return 1;
    }
    ResetDBErrors();
    const std::vector<CBookmarkRecord> records = bookmarks.All("StartChar ASC, Title ASC");
    if (LastDBError().count > 0) {
        std::cerr << "kompendor-cli bookmarks: " << path << ": cannot be read\n";
        return 1;
    }
    // The nodes by their titles in the almanac's order, each with its bookmarks in the window's
    // order; bookmarks whose node is gone are listed under their article all the same.
    std::vector<const CBookmarkRecord*> nodes;
    std::map<std::int32_t, std::vector<const CBookmarkRecord*>> below;
    for (const CBookmarkRecord& r : records) {
        if (r.pid == 0)
            nodes.push_back(&r);
        else
            below[r.pid].push_back(&r);
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const auto* a, const auto* b) {
        return SortKey(a->title) < SortKey(b->title);
    });
    for (const CBookmarkRecord* node : nodes) {
        std::cout << node->title << "  (article " << node->mid << ", node " << node->id << ")\n";
        for (const CBookmarkRecord* b : below[node->id]) PrintBookmark(*b);
        below.erase(node->id);
    }
    for (const auto& [pid, orphans] : below) {
        std::cout << "(no node " << pid << ")  (article " << orphans.front()->mid << ")\n";
        for (const CBookmarkRecord* b : orphans) PrintBookmark(*b);
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
