#include "text/LinkProtocol.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "text/MarkupScan.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size()
           && markup::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

void CopyField(char* field, std::size_t size, std::string_view text) {
    const std::string_view cut = CutUtf8(text, size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, cut.data(), cut.size());
}

}  // namespace

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character that would be cut.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

CLinkRecord MakeLinkRecord(std::string_view url, std::string_view target) {
    CLinkRecord record;
    CopyField(record.url, sizeof record.url, url);
    CopyField(record.target, sizeof record.target, target);
    return record;
}

std::int32_t LeadingNumber(std::string_view text) {
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::string LinkArgument(std::string_view localPath, std::string_view htmlFolder) {
    if (!htmlFolder.empty() && localPath.substr(0, htmlFolder.size()) == htmlFolder)
        return std::string(localPath.substr(htmlFolder.size()));
    const std::size_t slash = localPath.rfind('/');
    return std::string(slash == std::string_view::npos ? localPath : localPath.substr(slash + 1));
}

CLinkAction ReadLink(std::string_view url, std::string_view target, std::string_view localPath,
                     std::string_view htmlFolder) {
    CLinkAction action;
    for (std::string_view scheme : {"http://", "https://", "ftp://", "mailto:"}) {
        if (StartsWithNoCase(url, scheme)) {
            action.kind = LinkKind::Web;
            return action;
        }
    }

    // The earliest of the picture targets that starts the name; the S-targets ("SGRAPHIC",
    // "STABLE") do not start with any of them.
    struct PictureTarget {
        std::string_view name;
        LinkKind kind;
        std::string_view folder;
    };
    static constexpr PictureTarget kPictureTargets[] = {
        {"MAP", LinkKind::Map, ""},
        {"PORTRAIT", LinkKind::Picture, "Portraits"},
        {"FLAG", LinkKind::Flag, ""},
        {"TABLE", LinkKind::Picture, "Tables"},
        {"GRAPHIC", LinkKind::Picture, "Graph"},
    };
    for (const PictureTarget& picture : kPictureTargets) {
        if (!StartsWithNoCase(target, picture.name)) continue;
        action.kind = picture.kind;
        action.folder = picture.folder;
        action.number = LeadingNumber(LinkArgument(localPath, htmlFolder));
        return action;
    }

    if (StartsWithNoCase(target, "STEXT")) {
        action.kind = LinkKind::Text;
    } else if (StartsWithNoCase(target, "SGRAPHIC") || StartsWithNoCase(target, "STABLE")) {
        action.kind = LinkKind::PictureFile;
    } else {
        return action;
    }
    action.identifier = LinkArgument(localPath, htmlFolder);
    return action;
}
