#include "CursorWriter.h"

#include <cassert>
#include <cstring>

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

void Patch32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Opens a RIFF chunk and returns the position of its length field.
std::size_t BeginChunk(std::vector<std::uint8_t>& out, const char* tag) {
    PutTag(out, tag);
    Put32(out, 0);
    return out.size() - 4;
}

void EndChunk(std::vector<std::uint8_t>& out, std::size_t sizeAt) {
    Patch32(out, sizeAt, static_cast<std::uint32_t>(out.size() - sizeAt - 4));
    if (out.size() & 1) out.push_back(0);
}

}  // namespace

std::vector<std::uint8_t> EncodeCursor(const CCursorImage& image) {
    assert(image.width > 0 && image.width <= 256 && image.height > 0 && image.height <= 256);
    const std::size_t w = image.width, h = image.height;
    const std::size_t andStride = ((w + 31) / 32) * 4;
    const std::size_t dibSize = 40 + w * h * 4 + andStride * h;

    std::vector<std::uint8_t> out;
    out.reserve(6 + 16 + dibSize);
    // Directory: reserved, type 2 (cursor), one entry
    Put16(out, 0);
    Put16(out, 2);
    Put16(out, 1);
    // Entry: size (0 = 256), no palette, reserved, hot spot, length, offset
    out.push_back(static_cast<std::uint8_t>(w & 0xFF));
    out.push_back(static_cast<std::uint8_t>(h & 0xFF));
    out.push_back(0);
    out.push_back(0);
    Put16(out, image.hotX);
    Put16(out, image.hotY);
    Put32(out, static_cast<std::uint32_t>(dibSize));
    Put32(out, 6 + 16);

    // Bitmap header: the height counts picture and mask
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) Put32(out, 0);

    for (std::size_t y = h; y-- > 0;) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = image.pixels[y * w + x];
            out.push_back(static_cast<std::uint8_t>(p));
            out.push_back(static_cast<std::uint8_t>(p >> 8));
            out.push_back(static_cast<std::uint8_t>(p >> 16));
            out.push_back(static_cast<std::uint8_t>(p >> 24));
        }
    }
    for (std::size_t y = h; y-- > 0;) {
        std::vector<std::uint8_t> row(andStride, 0);
        for (std::size_t x = 0; x < w; ++x)
            if ((image.pixels[y * w + x] >> 24) == 0) row[x >> 3] |= 0x80 >> (x & 7);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> EncodeAnimatedCursor(const CCursorFile& cursor) {
    const auto frames = static_cast<std::uint32_t>(cursor.images.size());
    const auto steps = static_cast<std::uint32_t>(cursor.steps.size());
    bool inOrder = steps == frames;
    for (std::uint32_t i = 0; inOrder && i < steps; ++i)
        inOrder = cursor.steps[i].image == static_cast<int>(i);

    std::vector<std::uint8_t> out;
    const std::size_t riff = BeginChunk(out, "RIFF");
    PutTag(out, "ACON");

    const std::size_t header = BeginChunk(out, "anih");
    Put32(out, 36);
    Put32(out, frames);
    Put32(out, steps);
    for (int i = 0; i < 4; ++i) Put32(out, 0);  // size, bits and planes come from the frames
    Put32(out, 6);                              // default rate, 1/10 s
    Put32(out, inOrder ? 1 : 3);                // icon frames, and a step order when needed
    EndChunk(out, header);

    const std::size_t rate = BeginChunk(out, "rate");
    for (const CCursorStep& step : cursor.steps) Put32(out, (step.delayMs * 60 + 500) / 1000);
    EndChunk(out, rate);

    if (!inOrder) {
        const std::size_t seq = BeginChunk(out, "seq ");
        for (const CCursorStep& step : cursor.steps) Put32(out, step.image);
        EndChunk(out, seq);
    }

    const std::size_t list = BeginChunk(out, "LIST");
    PutTag(out, "fram");
    for (const CCursorImage& image : cursor.images) {
        const std::size_t icon = BeginChunk(out, "icon");
        const std::vector<std::uint8_t> bytes = EncodeCursor(image);
        out.insert(out.end(), bytes.begin(), bytes.end());
        EndChunk(out, icon);
    }
    EndChunk(out, list);
    EndChunk(out, riff);
    return out;
}
