#pragma once
// Writers of the two cursor formats the program reads: a ".cur" with one 32-bit picture and
// its mask, and an ".ani" (RIFF "ACON") of such pictures with rates and a step order. Plain
// C++ so that the cursor reader's tests can write files with it.

#include <cstdint>
#include <vector>

#include "platform/CursorFile.h"

// The bytes of a ".cur" file holding the image (at most 256 pixels each way) with its hot
// spot. The mask is set where the image is fully transparent.
std::vector<std::uint8_t> EncodeCursor(const CCursorImage& image);

// The bytes of an ".ani" file: every image as an "icon" frame; a "rate" chunk with each
// step's delay rounded to 1/60 s; a "seq " chunk unless the steps show the images once in
// order.
std::vector<std::uint8_t> EncodeAnimatedCursor(const CCursorFile& cursor);
