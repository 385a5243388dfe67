#pragma once
// What the full-text search window asks of the main window: it opens no window itself. The
// main window implements it and hands itself to the search window it creates.

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

class CSearchHost {
public:
    virtual ~CSearchHost() = default;

    // The article window on article htmlId (HTML.ID), scrolled to anchor (empty: the top),
    // with terms highlighted (none: no highlighting). owner is the window that asks.
    virtual void OpenSearchArticle(QWidget* owner, std::int32_t htmlId, const std::string& anchor,
                                   const std::vector<std::string>& terms)
        = 0;
    // The graph viewer on the picture record htmlId (Typ 9).
    virtual void OpenSearchGraph(QWidget* owner, std::int32_t htmlId) = 0;
};
