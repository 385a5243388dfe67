#pragma once
// Reader of the cursor files in the cursor folder: a static cursor ".cur" (an icon file whose
// entries carry a hot spot) and an animated cursor ".ani" (a RIFF "ACON" file: a sequence of
// such icons with display rates and an optional order of steps). No window system needed:
// the result is plain pixels that the window code turns into its own cursors.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One picture of a cursor: 0xAARRGGBB pixels, not premultiplied, rows top to bottom.
struct CCursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint32_t> pixels;
};

// One step of an animation: which image to show and for how long.
struct CCursorStep {
    int image = 0;
    unsigned delayMs = 0;
};

// A decoded cursor. A static cursor has one image and one step with delay 0.
struct CCursorFile {
    std::vector<CCursorImage> images;
    std::vector<CCursorStep> steps;

    bool IsAnimated() const { return steps.size() > 1; }
};

// Largest edge of a cursor picture that is accepted; larger files are refused unread.
inline constexpr int kMaxCursorEdge = 256;
// Most pictures and steps an animated cursor may have.
inline constexpr int kMaxCursorFrames = 1024;

// Decodes an icon/cursor directory (".cur"; type 1 icon files are read with hot spot 0,0) and
// returns its largest entry. On malformed or unsupported input returns nothing and, when
// error is given, sets it to a short English reason.
std::optional<CCursorFile> DecodeCursor(std::span<const std::uint8_t> data,
                                        std::string* error = nullptr);

// Decodes an animated cursor ("RIFF" ... "ACON"). Rates are given in 1/60 s in the file and
// returned in milliseconds. Same failure behaviour as DecodeCursor.
std::optional<CCursorFile> DecodeAnimatedCursor(std::span<const std::uint8_t> data,
                                                std::string* error = nullptr);

// Reads a cursor file of either kind, told apart by its first bytes, not by its name.
// Nothing when the file cannot be read or is malformed.
std::optional<CCursorFile> ReadCursorFile(const std::string& path, std::string* error = nullptr);

// The program's cursor lookup: "<folder><name>.ani" first, then "<folder><name>.cur" (the
// folder ends with "/"). Nothing when neither exists or the one found is malformed; path, when
// given, receives the file that was read.
std::optional<CCursorFile> LoadNamedCursor(const std::string& folder, const std::string& name,
                                           std::string* path = nullptr);
