#include "platform/CursorFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// Little-endian reads at a known offset; callers check the bounds first.
std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8)
           | (static_cast<std::uint32_t>(d[at + 2]) << 16)
           | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

// Records why a file was refused; the two forms suit the two kinds of reader below.
bool Refuse(std::string* error, const char* reason) {
    if (error) *error = reason;
    return false;
}

std::nullopt_t Fail(std::string* error, const char* reason) {
    Refuse(error, reason);
    return std::nullopt;
}

bool HasTag(std::span<const std::uint8_t> d, std::size_t at, const char* tag) {
    return at + 4 <= d.size() && std::memcmp(d.data() + at, tag, 4) == 0;
}

// Decoded pictures of one file may not exceed this many pixels in all, so a small hostile
// file cannot make the reader allocate without bound.
constexpr std::uint64_t kMaxTotalPixels = 4u * 1024u * 1024u;
// Cursor files are small; anything larger is not read at all.
constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

constexpr std::size_t kDirHeader = 6;
constexpr std::size_t kDirEntry = 16;
constexpr std::size_t kInfoHeader = 40;

struct DibLayout {
    int width = 0;
    int height = 0;  // of the picture, without the mask half
    int bitCount = 0;
    std::size_t headerSize = 0;
    std::size_t paletteEntries = 0;
    std::size_t xorStride = 0;
    std::size_t andStride = 0;
};

// Checks the bitmap header of one directory entry and works out where its parts lie.
bool ReadDibLayout(std::span<const std::uint8_t> dib, DibLayout& out, std::string* error) {
    static const std::uint8_t kPng[4] = {0x89, 'P', 'N', 'G'};
    if (dib.size() >= 4 && std::memcmp(dib.data(), kPng, 4) == 0)
        return Refuse(error, "PNG-compressed cursor pictures are not supported");
    if (dib.size() < kInfoHeader) return Refuse(error, "cursor picture header truncated");

    // Size of the header; later versions of the header only append fields
    const std::uint32_t headerSize = U32(dib, 0);
    if (headerSize < kInfoHeader || headerSize > dib.size())
        return Refuse(error, "bad cursor picture header size");
    // Width, and the height of picture and mask together
    const auto width = static_cast<std::int32_t>(U32(dib, 4));
    const auto doubleHeight = static_cast<std::int32_t>(U32(dib, 8));
    // Planes (always 1) at 12, then bits per pixel
    const int bitCount = U16(dib, 14);
    // Compression: only uncompressed pictures occur in cursors
    const std::uint32_t compression = U32(dib, 16);
    // Number of palette entries used, 0 for all
    const std::uint32_t colorsUsed = U32(dib, 32);

    if (width < 1 || width > kMaxCursorEdge) return Refuse(error, "bad cursor width");
    if (doubleHeight < 2 || doubleHeight / 2 > kMaxCursorEdge)
        return Refuse(error, "bad cursor height");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return Refuse(error, "unsupported cursor colour depth");
    if (compression != 0) return Refuse(error, "compressed cursor pictures are not supported");

    std::size_t palette = 0;
    if (bitCount <= 8) {
        const std::uint32_t full = 1u << bitCount;
        if (colorsUsed > full) return Refuse(error, "bad cursor palette size");
        palette = colorsUsed ? colorsUsed : full;
    }

    out.width = width;
    out.height = doubleHeight / 2;
    out.bitCount = bitCount;
    out.headerSize = headerSize;
    out.paletteEntries = palette;
    out.xorStride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    out.andStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;

    const std::uint64_t needed = std::uint64_t{headerSize} + palette * 4
                                 + std::uint64_t{out.xorStride} * out.height
                                 + std::uint64_t{out.andStride} * out.height;
    if (needed > dib.size()) return Refuse(error, "cursor picture truncated");
    return true;
}

// Index of pixel x in a row of 1, 4 or 8 bits per pixel.
unsigned PaletteIndex(const std::uint8_t* row, int x, int bitCount) {
    switch (bitCount) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
        default:
            return row[x];
    }
}

bool DecodeDib(std::span<const std::uint8_t> dib, int hotX, int hotY, CCursorImage& image,
               std::string* error) {
    DibLayout l;
    if (!ReadDibLayout(dib, l, error)) return false;

    const std::uint8_t* palette = dib.data() + l.headerSize;
    const std::uint8_t* xorBits = palette + l.paletteEntries * 4;
    const std::uint8_t* andBits = xorBits + l.xorStride * l.height;

    image.width = l.width;
    image.height = l.height;
    image.hotX = std::clamp(hotX, 0, l.width - 1);
    image.hotY = std::clamp(hotY, 0, l.height - 1);
    image.pixels.assign(static_cast<std::size_t>(l.width) * l.height, 0);

    // A 32-bit picture whose alpha bytes are all zero comes from before alpha channels
    // existed; its transparency is in the mask, as for the other depths.
    bool hasAlpha = false;
    if (l.bitCount == 32) {
        for (std::size_t i = 3; i < l.xorStride * l.height && !hasAlpha; i += 4)
            hasAlpha = xorBits[i] != 0;
    }

    for (int y = 0; y < l.height; ++y) {
        // Rows are stored bottom-up
        const std::uint8_t* xorRow = xorBits + l.xorStride * (l.height - 1 - y);
        const std::uint8_t* andRow = andBits + l.andStride * (l.height - 1 - y);
        std::uint32_t* out = image.pixels.data() + static_cast<std::size_t>(y) * l.width;
        for (int x = 0; x < l.width; ++x) {
            std::uint32_t b = 0, g = 0, r = 0, a = 255;
            if (l.bitCount == 32) {
                b = xorRow[x * 4];
                g = xorRow[x * 4 + 1];
                r = xorRow[x * 4 + 2];
                if (hasAlpha) a = xorRow[x * 4 + 3];
            } else if (l.bitCount == 24) {
                b = xorRow[x * 3];
                g = xorRow[x * 3 + 1];
                r = xorRow[x * 3 + 2];
            } else {
                const unsigned index = PaletteIndex(xorRow, x, l.bitCount);
                // An index beyond a shortened palette is drawn black, as the system does
                if (index < l.paletteEntries) {
                    b = palette[index * 4];
                    g = palette[index * 4 + 1];
                    r = palette[index * 4 + 2];
                }
            }
            if (!hasAlpha) {
                const bool maskSet = (andRow[x >> 3] >> (7 - (x & 7))) & 1;
                if (maskSet) {
                    // Mask set over black is transparent; over a colour the system would
                    // invert the screen, which a picture cannot say: draw it black instead.
                    const bool inverts = (r | g | b) != 0;
                    r = g = b = 0;
                    a = inverts ? 255 : 0;
                }
            }
            out[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return true;
}

}  // namespace

std::optional<CCursorFile> DecodeCursor(std::span<const std::uint8_t> data, std::string* error) {
    if (data.size() < kDirHeader) return Fail(error, "cursor file truncated");
    // Reserved, then the resource type: 1 icon, 2 cursor
    const int type = U16(data, 2);
    if (U16(data, 0) != 0 || (type != 1 && type != 2))
        return Fail(error, "not an icon or cursor file");
    // Number of pictures in the directory
    const std::size_t count = U16(data, 4);
    if (count == 0) return Fail(error, "cursor file holds no picture");
    if (kDirHeader + count * kDirEntry > data.size())
        return Fail(error, "cursor directory truncated");

    // Several sizes may be stored; the program shows the largest.
    std::optional<std::size_t> best;
    std::uint64_t bestArea = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirHeader + i * kDirEntry;
        // Width and height in pixels, 0 meaning 256
        const std::uint64_t w = data[entry] ? data[entry] : 256;
        const std::uint64_t h = data[entry + 1] ? data[entry + 1] : 256;
        if (!best || w * h > bestArea) {
            best = entry;
            bestArea = w * h;
        }
    }

    const std::size_t entry = *best;
    // Hot spot (cursors) or planes and bit count (icons)
    const int hotX = type == 2 ? U16(data, entry + 4) : 0;
    const int hotY = type == 2 ? U16(data, entry + 6) : 0;
    // Size and offset of the picture's bytes in the file
    const std::uint32_t size = U32(data, entry + 8);
    const std::uint32_t offset = U32(data, entry + 12);
    if (std::uint64_t{offset} + size > data.size() || offset < kDirHeader + count * kDirEntry)
        return Fail(error, "cursor picture lies outside the file");

    CCursorFile file;
    file.images.emplace_back();
    if (!DecodeDib(data.subspan(offset, size), hotX, hotY, file.images.back(), error))
        return std::nullopt;
    file.steps.push_back({0, 0});
    return file;
}

std::optional<CCursorFile> DecodeAnimatedCursor(std::span<const std::uint8_t> data,
                                                std::string* error) {
    if (data.size() < 12 || !HasTag(data, 0, "RIFF") || !HasTag(data, 8, "ACON"))
        return Fail(error, "not an animated cursor");
    // Length of everything after the length field
    const std::uint64_t end = std::uint64_t{U32(data, 4)} + 8;
    if (end > data.size()) return Fail(error, "animated cursor truncated");

    bool haveHeader = false;
    std::uint32_t frameCount = 0, stepCount = 0, defaultRate = 0, flags = 0;
    std::span<const std::uint8_t> rates, sequence;
    std::vector<std::span<const std::uint8_t>> icons;

    std::size_t at = 12;
    while (at + 8 <= end) {
        const std::uint32_t chunkSize = U32(data, at + 4);
        const std::size_t body = at + 8;
        if (body + std::uint64_t{chunkSize} > end)
            return Fail(error, "animated cursor chunk exceeds the file");
        const auto chunk = data.subspan(body, chunkSize);

        if (HasTag(data, at, "anih")) {
            if (chunkSize < 36) return Fail(error, "animation header truncated");
            // Header size, frames, steps, then width, height, bits, planes (unused for
            // icon frames), the default rate in 1/60 s and the flags
            frameCount = U32(chunk, 4);
            stepCount = U32(chunk, 8);
            defaultRate = U32(chunk, 28);
            flags = U32(chunk, 32);
            haveHeader = true;
        } else if (HasTag(data, at, "rate")) {
            rates = chunk;
        } else if (HasTag(data, at, "seq ")) {
            sequence = chunk;
        } else if (HasTag(data, at, "LIST") && chunkSize >= 4 && HasTag(chunk, 0, "fram")) {
            std::size_t sub = 4;
            while (sub + 8 <= chunk.size()) {
                const std::uint32_t subSize = U32(chunk, sub + 4);
                if (sub + 8 + std::uint64_t{subSize} > chunk.size())
                    return Fail(error, "animated cursor frame exceeds its list");
                if (HasTag(chunk, sub, "icon")) {
                    if (icons.size() >= static_cast<std::size_t>(kMaxCursorFrames))
                        return Fail(error, "too many cursor frames");
                    icons.push_back(chunk.subspan(sub + 8, subSize));
                }
                // Chunks are padded to an even length
                sub += 8 + subSize + (subSize & 1);
            }
        }
        at = body + chunkSize + (chunkSize & 1);
    }

    if (!haveHeader) return Fail(error, "animation header missing");
    // Frames stored as raw bitmaps instead of icons never occur in practice
    if (!(flags & 1)) return Fail(error, "animated cursor without icon frames");
    if (frameCount < 1 || frameCount > static_cast<std::uint32_t>(kMaxCursorFrames))
        return Fail(error, "bad number of animation frames");
    if (icons.size() < frameCount) return Fail(error, "animated cursor lacks frames");

    const bool sequenced = (flags & 2) != 0;
    if (!sequenced) stepCount = frameCount;
    if (stepCount < 1 || stepCount > static_cast<std::uint32_t>(kMaxCursorFrames))
        return Fail(error, "bad number of animation steps");
    if (sequenced && sequence.size() < std::size_t{stepCount} * 4)
        return Fail(error, "animation sequence truncated");
    if (!rates.empty() && rates.size() < std::size_t{stepCount} * 4)
        return Fail(error, "animation rates truncated");

    CCursorFile file;
    std::uint64_t pixels = 0;
    for (std::uint32_t i = 0; i < frameCount; ++i) {
        std::optional<CCursorFile> frame = DecodeCursor(icons[i], error);
        if (!frame) return std::nullopt;
        CCursorImage& image = frame->images.front();
        pixels += image.pixels.size();
        if (pixels > kMaxTotalPixels) return Fail(error, "animated cursor too large");
        file.images.push_back(std::move(image));
    }
    for (std::uint32_t i = 0; i < stepCount; ++i) {
        const std::uint32_t image = sequenced ? U32(sequence, i * 4) : i;
        if (image >= frameCount) return Fail(error, "animation sequence names a missing frame");
        std::uint32_t jiffies = rates.empty() ? defaultRate : U32(rates, i * 4);
        // A rate of 0 would spin; show such a step for one tick instead
        jiffies = std::clamp<std::uint32_t>(jiffies, 1, 60u * 60u);
        file.steps.push_back({static_cast<int>(image), (jiffies * 1000 + 30) / 60});
    }
    return file;
}

std::optional<CCursorFile> ReadCursorFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(error, "cannot open cursor file");
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0 || static_cast<std::uintmax_t>(length) > kMaxFileBytes)
        return Fail(error, "cursor file too large");
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length))
        return Fail(error, "cannot read cursor file");

    if (HasTag(bytes, 0, "RIFF")) return DecodeAnimatedCursor(bytes, error);
    return DecodeCursor(bytes, error);
}

std::optional<CCursorFile> LoadNamedCursor(const std::string& folder, const std::string& name,
                                           std::string* path) {
    for (const char* extension : {".ani", ".cur"}) {
        const std::string candidate = folder + name + extension;
        if (std::optional<CCursorFile> file = ReadCursorFile(candidate)) {
            if (path) *path = candidate;
            return file;
        }
    }
    return std::nullopt;
}
