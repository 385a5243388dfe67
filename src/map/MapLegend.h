#pragma once
// The world map's legend: a box for each of the 25 classes in its colour with its bounds
// (one box "(keine Angabe)" in the colour of countries without a value when the field has
// none). The map window shows it in an image window; the edition draws it beside its maps.

#include <QImage>

#include "map/MapData.h"

inline constexpr int kLegendWidth = 192;
inline constexpr int kLegendHeight = 604;

QImage DrawMapLegend(const CMapDisplay& display);
