#pragma once
// Contact sheets of everything the painter made, to look at the skin as a whole.

#include <QImage>
#include <QString>
#include <map>
#include <vector>

#include "TemplateSkin.h"
#include "platform/CursorFile.h"

namespace skin {

// numbered.png: every numbered bitmap with its number, on the surface the program shows it
// on, small ones also enlarged three times; numbered-large.png: caption, background, intro.
void SaveNumberedSheet(const std::map<int, QImage>& bitmaps, const QString& dir);

// template-<number>.png: each window as painted; skin-<folder>.png: every file of a skin
// folder with its name.
void SaveSkinSheets(const SkinPaintResult& skins, const QString& dir);

}  // namespace skin

namespace skin {

// cursors.png: the pointer and every frame of the wait cursor, actual size and enlarged, on a
// light and a dark ground, the hot spot marked in the enlarged ones.
void SaveCursorSheet(const CCursorImage& pointer, const CCursorFile& wait, const QString& dir);

// main-window.png: the main window as the program will compose it from these pictures: frame,
// caption and its buttons, command bar, the table frame, table bar and header cells of both
// table views (cells drawn with the colours the program uses).
void SaveMainWindowMock(const std::map<int, QImage>& bitmaps, const SkinPaintResult& skins,
                        const QString& dir);

}  // namespace skin
