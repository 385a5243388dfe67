#pragma once
// What the article window asks of the main window: the pictures its links name, printing,
// the search window, the bookmark window. The main window implements it and hands itself in,
// so the article window needs no main-window headers; windows never open other windows
// themselves.

#include <QString>
#include <cstdint>
#include <string>

class QWidget;

class CTextBrowserHost {
public:
    virtual ~CTextBrowserHost() = default;

    // The map, the flag (country landId) and the picture of article htmlId from the archive
    // "<archiveName>.nox" ("Portraits", "Tables", "Graph").
    virtual void ShowMap(QWidget* owner, std::int32_t landId) = 0;
    virtual void ShowFlag(QWidget* owner, std::int32_t landId) = 0;
    virtual void ShowHTMLImage(QWidget* owner, const QString& archiveName, std::int32_t htmlId) = 0;
    // The picture whose file name (HTML.Abbildung) is fileName.
    virtual void OpenImageViewerByFilename(QWidget* owner, const QString& fileName) = 0;
    // Prints html through the main window's print host.
    virtual void PrintHTML(const std::string& html) = 0;
    virtual void OpenSearch(QWidget* owner) = 0;
    // "Bitte markieren Sie zunächst den Textbereich, ..."
    virtual void BookmarkHint() = 0;
    // The bookmark window: opened by button 1009; told of a bookmark set on the page (it
    // shows and selects it) and of every article shown (it follows it). Hosts without the
    // window leave them as they are.
    virtual void OpenBookmarks(QWidget* owner) { (void)owner; }
    virtual void BookmarkSet(std::int32_t id) { (void)id; }
    virtual void ArticleShown(std::int32_t id) { (void)id; }
};
