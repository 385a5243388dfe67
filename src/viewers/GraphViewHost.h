#pragma once
// What the graph gallery asks of the main window: it opens no window itself, and printing and
// exporting a picture are the main window's. The main window implements it and hands itself
// to the gallery it creates.

#include <cstdint>

class QWidget;

class CGraphViewHost {
public:
    virtual ~CGraphViewHost() = default;
    // The image viewer on the picture record htmlId (HTML.ID, Typ 9). owner is the window
    // that asks.
    virtual void OpenGraph(QWidget* owner, std::int32_t htmlId) = 0;
    // Prints the picture of record htmlId with the product's notice line below it.
    virtual void PrintGraph(QWidget* owner, std::int32_t htmlId) = 0;
    // Saves the picture of record htmlId as a bitmap file, proposing its title as the name.
    virtual void ExportGraph(QWidget* owner, std::int32_t htmlId) = 0;
};
