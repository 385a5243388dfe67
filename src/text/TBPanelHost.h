#pragma once
// What a navigation panel (and the bookmark window) asks of the article window that holds
// it. The article window implements it, so the panels need no article-window headers.

#include <cstdint>
#include <string>
#include <vector>

class CTBPanelHost {
public:
    virtual ~CTBPanelHost() = default;

    // Shows article htmlId (HTML.ID): with a history entry when addToHistory, letting the
    // panel select it when selectInPanel, with searchTerms highlighted (none: no
    // highlighting) and scrolled to anchor (empty: the top).
    virtual void ShowArticle(std::int32_t htmlId, bool addToHistory, bool selectInPanel,
                             const std::vector<std::string>& searchTerms, const std::string& anchor)
        = 0;
};
