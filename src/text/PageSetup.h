#pragma once
// The page setup of printed pages: header and footer lines with their codes, and the margins,
// kept under the user's registry key HKEY_CURRENT_USER\Software\NOX\PageSetup with the value
// names "header", "footer", "margin_top", "margin_bottom", "margin_left" and "margin_right"
// (margins in inches, as text).
//
// Codes of the header and footer: &w the window (document) title, &u the page's address,
// &d the date, &D the long date, &t and &T the time, &p the page number, &P the number of
// pages, && an ampersand; &b separates the parts: "left&bright" or "left&bcentre&bright".

#include <string>
#include <string_view>

class IRegistryStore;

inline constexpr const char* kPageSetupKey = "HKEY_CURRENT_USER\\Software\\NOX\\PageSetup";

// The print header and footer a browser starts with.
inline constexpr const char* kDefaultPrintHeader = "&w&b &p / &P";
inline constexpr const char* kDefaultPrintFooter = "&u&b&d";

struct CPageSetup {
    std::string header;
    std::string footer;
    // Inches: 15 mm at the top, the bottom and the right, 25 mm at the left.
    double marginTop = 0.59055;
    double marginBottom = 0.59055;
    double marginLeft = 0.98425;
    double marginRight = 0.59055;
};

// For the duration of one print: writes header, footer and the margins into the page setup
// key, keeping the user's header and footer, and puts those back when it is destroyed,
// however the print ended (done, failed, cancelled, or its window closed). The margins stay
// at the printed values. A registry that cannot be written leaves the key as it is.
class CPageSetupScope {
public:
    // registry may be null (no page setup key: the print uses header and footer as given).
    CPageSetupScope(IRegistryStore* registry, const std::string& header, const std::string& footer);
    ~CPageSetupScope();
    CPageSetupScope(const CPageSetupScope&) = delete;
    CPageSetupScope& operator=(const CPageSetupScope&) = delete;

    // What the print uses: the key's values as they are now, with header, footer and margins
    // as given for whatever the key does not hold.
    const CPageSetup& Setup() const { return m_setup; }
    // Whether the page setup was written (and will be restored).
    bool Written() const { return m_written; }

private:
    IRegistryStore* m_registry;
    CPageSetup m_setup;
    std::string m_userHeader;
    std::string m_userFooter;
    bool m_written = false;
};

// What the codes stand for on one page.
struct CPageFields {
    std::string title;
    std::string address;
    std::string date;
    std::string longDate;
    std::string time;
    int page = 1;
    int pages = 1;
};

// One header or footer line, split into its left, centred and right-aligned parts.
struct CPageLine {
    std::string left;
    std::string center;
    std::string right;
};

// Expands the codes of a header or footer text for one page. Unknown codes stay as written.
CPageLine ExpandPageCodes(std::string_view text, const CPageFields& fields);
