#pragma once
// The program's numbered bitmap resources (caption, background, frame, caption buttons, tree
// and list pictograms, table cell buttons, intro) and the bookmark pictures of the HTML
// folder.

#include <QImage>
#include <map>
#include <vector>

class CIconTheme;

namespace skin {

// Numbers of every bitmap resource the program loads.
const std::vector<int>& ProgramBitmapIds();

// Paints all of them, keyed by number.
std::map<int, QImage> PaintNumberedBitmaps(const CIconTheme& icons);

// The picture of bookmark kind 1..6 ("BM<kind>.bmp"), shown in front of a marked passage.
QImage PaintBookmarkPicture(int kind);

}  // namespace skin
