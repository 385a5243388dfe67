#include "text/PageSetup.h"

#include <charconv>
#include <optional>
#include <vector>

#include "platform/RegistryFiles.h"
#include "text/MarkupScan.h"

namespace {

std::optional<std::string> Find(const std::vector<RegistryValue>& values, std::string_view name) {
    for (const RegistryValue& value : values)
        if (!value.binary && markup::EqualsNoCase(value.name, name)) return value.data;
    return std::nullopt;
}

void ReadMargin(const std::vector<RegistryValue>& values, std::string_view name, double& margin) {
    const std::optional<std::string> text = Find(values, name);
    if (!text) return;
    double value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error == std::errc() && value >= 0 && value < 10) margin = value;
}

// Expands the codes of one part (no "&b" in it).
std::string ExpandPart(std::string_view part, const CPageFields& fields) {
    std::string out;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (part[i] != '&' || i + 1 >= part.size()) {
            out += part[i];
            continue;
        }
        const char code = part[++i];
        switch (code) {
            case 'w':
                out += fields.title;
                break;
            case 'u':
                out += fields.address;
                break;
            case 'd':
                out += fields.date;
                break;
            case 'D':
                out += fields.longDate;
                break;
            case 't':
            case 'T':
                out += fields.time;
                break;
            case 'p':
                out += std::to_string(fields.page);
                break;
            case 'P':
                out += std::to_string(fields.pages);
                break;
            case '&':
                out += '&';
                break;
            default:
                out += '&';
                out += code;
                break;
        }
    }
    return out;
}

}  // namespace

CPageSetupScope::CPageSetupScope(IRegistryStore* registry, const std::string& header,
                                 const std::string& footer)
    : m_registry(registry) {
    m_setup.header = header;
    m_setup.footer = footer;
    if (!m_registry) return;

    if (std::optional<std::vector<RegistryValue>> values = m_registry->ReadKey(kPageSetupKey)) {
        m_userHeader = Find(*values, "header").value_or("");
        m_userFooter = Find(*values, "footer").value_or("");
    }
    const CPageSetup wanted = m_setup;
    auto write = [&](const char* name, const std::string& text) {
        return m_registry->WriteValue(kPageSetupKey, RegistryValue{name, false, text});
    };
    // Either written value makes the restore due, even when a later write fails.
    const bool headerWritten = write("header", wanted.header);
    const bool footerWritten = write("footer", wanted.footer);
    m_written = headerWritten || footerWritten;
    if (m_written) {
        write("margin_bottom", "0.59055");
        write("margin_left", "0.98425");
        write("margin_right", "0.59055");
        write("margin_top", "0.59055");
    }

    // The print follows the key, as far as it holds the values.
    if (std::optional<std::vector<RegistryValue>> values = m_registry->ReadKey(kPageSetupKey)) {
        m_setup.header = Find(*values, "header").value_or(wanted.header);
        m_setup.footer = Find(*values, "footer").value_or(wanted.footer);
        ReadMargin(*values, "margin_top", m_setup.marginTop);
        ReadMargin(*values, "margin_bottom", m_setup.marginBottom);
        ReadMargin(*values, "margin_left", m_setup.marginLeft);
        ReadMargin(*values, "margin_right", m_setup.marginRight);
    }
}

CPageSetupScope::~CPageSetupScope() {
    if (!m_registry || !m_written) return;
    m_registry->WriteValue(kPageSetupKey, RegistryValue{"header", false, m_userHeader});
    m_registry->WriteValue(kPageSetupKey, RegistryValue{"footer", false, m_userFooter});
}

CPageLine ExpandPageCodes(std::string_view text, const CPageFields& fields) {
    // Split at "&b", but not at the "&b" of an escaped ampersand ("&&b").
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == 'b') {
            parts.push_back(text.substr(start, i - start));
            start = i + 2;
            ++i;
        } else {
            ++i;  // the code after "&", "&&" included
        }
    }
    parts.push_back(text.substr(start));

    CPageLine line;
    line.left = ExpandPart(parts[0], fields);
    if (parts.size() == 2) {
        line.right = ExpandPart(parts[1], fields);
    } else if (parts.size() >= 3) {
        line.center = ExpandPart(parts[1], fields);
        for (std::size_t k = 2; k < parts.size(); ++k) line.right += ExpandPart(parts[k], fields);
    }
    return line;
}
