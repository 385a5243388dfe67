#pragma once
// What a click on a link in an article means. The browser wrapper reports each link the user
// clicks as a fixed record (URL and target frame name) and cancels the navigation; the
// article window reads it here and acts on it.
//
// The article pages use the target frame name as the link's kind and the href as its
// argument: <A HREF="276" Target="Map"> (the map of country 276), Target="STEXT" with a link
// identifier as href (the article holding that identifier), and so on. Web addresses are
// handed to the desktop.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The link-clicked record: URL and target frame name, each zero-terminated and cut to its
// field.
struct CLinkRecord {
    char url[256];
    char target[128];
};
static_assert(sizeof(CLinkRecord) == 384);

// The record for url and target. A text longer than its field is cut so that it ends on a
// whole UTF-8 character.
CLinkRecord MakeLinkRecord(std::string_view url, std::string_view target);

// The longest prefix of text of at most maxBytes bytes that does not end inside a UTF-8
// character.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

enum class LinkKind {
    Ignore,      // nothing happens
    Web,         // hand the URL to the desktop's browser or mail program
    Map,         // the map of country number
    Flag,        // the flag of country number
    Picture,     // the picture of article number from folder (Portraits, Tables, Graph)
    Text,        // the article whose link identifiers hold identifier (STEXT)
    PictureFile  // the picture whose file name is identifier (SGRAPHIC, STABLE)
};

struct CLinkAction {
    LinkKind kind = LinkKind::Ignore;
    std::int32_t number = 0;
    std::string folder;
    std::string identifier;
};

// Reads a clicked link. url is the link's address as the browser resolved it, localPath the
// local file it names (empty for an address that is not a file URL; percent escapes decoded),
// htmlFolder the HTML folder with its trailing "/". Only "http://", "https://", "ftp://" and
// "mailto:" addresses (in any case) count as web links; any other scheme (file:, javascript:,
// data:) is never handed to the desktop.
CLinkAction ReadLink(std::string_view url, std::string_view target, std::string_view localPath,
                     std::string_view htmlFolder);

// The argument of a link: localPath without the HTML folder in front (a path outside the
// folder gives its file name).
std::string LinkArgument(std::string_view localPath, std::string_view htmlFolder);

// The leading decimal digits of text as a number; 0 when there are none.
std::int32_t LeadingNumber(std::string_view text);
