#pragma once
// Pages of a built edition composed as the article window and the cell information compose
// them: the template of the article's type with its placeholders replaced, written into the
// body of the host page. For checking the markup and for looking at pages in a browser.

#include <QString>

// The whole page of an article (HTML.ID) of the edition in outDir, as the article window
// shows it; empty when the article or a template is missing. Picture paths use "/".
QString ComposeArticlePage(const QString& outDir, int articleId);

// The cell information page of a country and a field for the newest year, with the chart
// picture given by its path (the program draws it; Dummy.gif stands in when empty).
QString ComposeCellPage(const QString& outDir, int landId, int valId,
                        const QString& chartPath = QString());

// Replaces every occurrence of token by replacement; the inserted text is not searched
// again (the template rule of the article window).
void ReplaceAllTokens(QString& text, const QString& token, const QString& replacement);
