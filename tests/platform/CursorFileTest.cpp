#include "platform/CursorFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "../tools/skin/CursorWriter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An image with a gradient, a fully transparent corner and a half-transparent band.
CCursorImage TestImage(int w, int h, int hotX, int hotY) {
    CCursorImage image{w, h, hotX, hotY, {}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t a = 255;
            if (x < 4 && y < 4) a = 0;
            if (y == h / 2) a = 128;
            const std::uint32_t r = (x * 255) / w, g = (y * 255) / h, b = ((x + y) * 7) & 0xFF;
            image.pixels.push_back(a == 0 ? 0 : (a << 24) | (r << 16) | (g << 8) | b);
        }
    }
    return image;
}

// A one-picture cursor file built by hand: bits per pixel, palette (BGRA quads), the
// picture's rows top to bottom already packed, and the mask rows top to bottom.
Bytes HandCursor(int w, int h, int bpp, const Bytes& palette, const std::vector<Bytes>& rows,
                 const std::vector<Bytes>& maskRows, int hotX, int hotY) {
    Bytes dib;
    Put32(dib, 40);
    Put32(dib, w);
    Put32(dib, h * 2);
    Put16(dib, 1);
    Put16(dib, bpp);
    for (int i = 0; i < 6; ++i) Put32(dib, 0);
    dib.insert(dib.end(), palette.begin(), palette.end());
    const std::size_t stride = ((w * bpp + 31) / 32) * 4, maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        Bytes row = rows[y];
        row.resize(stride, 0);
        dib.insert(dib.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
        Bytes row = maskRows[y];
        row.resize(maskStride, 0);
        dib.insert(dib.end(), row.begin(), row.end());
    }
    Bytes file;
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file.push_back(static_cast<std::uint8_t>(w));
    file.push_back(static_cast<std::uint8_t>(h));
    file.push_back(0);
    file.push_back(0);
    Put16(file, hotX);
    Put16(file, hotY);
    Put32(file, static_cast<std::uint32_t>(dib.size()));
    Put32(file, 22);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

CCursorFile ThreeFrames() {
    CCursorFile cursor;
    for (int i = 0; i < 3; ++i) {
        CCursorImage image = TestImage(16, 16, 8, 8);
        image.pixels[0] = 0xFF000000u | static_cast<std::uint32_t>(i);  // tell the frames apart
        cursor.images.push_back(image);
    }
    cursor.steps = {{0, 50}, {1, 100}, {2, 17}, {1, 100}};
    return cursor;
}

std::filesystem::path TempDir(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / ("kompendor-cursor-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(CursorFile, RoundTripsStaticAndAnimatedCursors) {
    for (const auto& [w, h] : {std::pair{32, 32}, std::pair{24, 40}, std::pair{256, 256}}) {
        const CCursorImage image = TestImage(w, h, 5, 7);
        std::string error;
        const auto decoded = DecodeCursor(EncodeCursor(image), &error);
        ASSERT_TRUE(decoded) << w << "x" << h << ": " << error;
        ASSERT_EQ(decoded->images.size(), 1u);
        const CCursorImage& back = decoded->images[0];
        EXPECT_EQ(back.width, w);
        EXPECT_EQ(back.height, h);
        EXPECT_EQ(back.hotX, 5);
        EXPECT_EQ(back.hotY, 7);
        EXPECT_EQ(back.pixels, image.pixels);
        EXPECT_FALSE(decoded->IsAnimated());
    }

    // The sequence chunk repeats frame 1; delays go through 1/60 s ticks
    const auto animated = DecodeAnimatedCursor(EncodeAnimatedCursor(ThreeFrames()));
    ASSERT_TRUE(animated);
    EXPECT_TRUE(animated->IsAnimated());
    ASSERT_EQ(animated->images.size(), 3u);
    ASSERT_EQ(animated->steps.size(), 4u);
    const int frames[] = {0, 1, 2, 1};
    const unsigned delays[] = {50, 100, 17, 100};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(animated->steps[i].image, frames[i]);
        EXPECT_EQ(animated->steps[i].delayMs, delays[i]);
        EXPECT_EQ(animated->images[animated->steps[i].image].pixels[0] & 0xFF,
                  static_cast<unsigned>(frames[i]));
    }

    // Frames shown once in order need no sequence chunk
    CCursorFile plain = ThreeFrames();
    plain.steps = {{0, 83}, {1, 83}, {2, 83}};
    const Bytes bytes = EncodeAnimatedCursor(plain);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("seq "), std::string::npos);
    const auto inOrder = DecodeAnimatedCursor(bytes);
    ASSERT_TRUE(inOrder);
    EXPECT_EQ(inOrder->steps.size(), 3u);
    EXPECT_EQ(inOrder->steps[2].image, 2);
    EXPECT_EQ(inOrder->steps[2].delayMs, 83u);
}

TEST(CursorFile, ReadsPalettedAndMaskedPictures) {
    // 4 x 2, one bit per pixel: palette black, white. Mask set over black is transparent, set
    // over white would invert the screen and is drawn black.
    const Bytes mono
        = HandCursor(4, 2, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {{0b0101'0000}, {0b1100'0000}},
                     {{0b0011'0000}, {0b1010'0000}}, 1, 1);
    const auto one = DecodeCursor(mono);
    ASSERT_TRUE(one);
    const std::vector<std::uint32_t> expectOne = {0xFF000000, 0xFFFFFFFF, 0x00000000, 0xFF000000,
                                                  0xFF000000, 0xFFFFFFFF, 0x00000000, 0xFF000000};
    EXPECT_EQ(one->images[0].pixels, expectOne);

    // 4 bits per pixel with a shortened palette of three colours; index 5 lies beyond it
    const Bytes palette4 = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    const Bytes four = HandCursor(4, 1, 4, palette4, {{0x01, 0x25}}, {{0}}, 0, 0);
    // The palette size must be stated for a shortened palette
    Bytes withCount = four;
    Set32(withCount, 22 + 32, 3);
    const auto decoded4 = DecodeCursor(withCount);
    ASSERT_TRUE(decoded4);
    const std::vector<std::uint32_t> expectFour = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
    EXPECT_EQ(decoded4->images[0].pixels, expectFour);

    // 8 bits per pixel
    Bytes palette8(256 * 4, 0);
    palette8[7 * 4 + 2] = 200;  // red of entry 7
    const auto eight = DecodeCursor(HandCursor(2, 1, 8, palette8, {{7, 0}}, {{0b0100'0000}}, 0, 0));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->images[0].pixels, (std::vector<std::uint32_t>{0xFFC80000, 0x00000000}));

    // 24 bits per pixel, BGR
    const auto rgb = DecodeCursor(HandCursor(1, 1, 24, {}, {{10, 20, 30}}, {{0}}, 0, 0));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->images[0].pixels[0], 0xFF1E140Au);

    // 32 bits whose alpha bytes are all zero: the mask decides
    const auto old
        = DecodeCursor(HandCursor(2, 1, 32, {}, {{1, 2, 3, 0, 0, 0, 0, 0}}, {{0b0100'0000}}, 0, 0));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->images[0].pixels, (std::vector<std::uint32_t>{0xFF030201, 0x00000000}));

    // A hot spot outside the picture is kept at its edge
    const auto far = DecodeCursor(HandCursor(2, 2, 24, {}, {{}, {}}, {{0}, {0}}, 100, 100));
    ASSERT_TRUE(far);
    EXPECT_EQ(far->images[0].hotX, 1);
    EXPECT_EQ(far->images[0].hotY, 1);
}

TEST(CursorFile, ReadsIconFilesMadeByImageMagick) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
    const auto dir = TempDir("magick");
    const CCursorImage image = TestImage(32, 32, 0, 0);
    // The picture as an 8-bit PAM, which ImageMagick turns into an icon directory
    std::string pam = "P7\nWIDTH 32\nHEIGHT 32\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    for (const std::uint32_t p : image.pixels) {
        pam += static_cast<char>((p >> 16) & 0xFF);
        pam += static_cast<char>((p >> 8) & 0xFF);
        pam += static_cast<char>(p & 0xFF);
        pam += static_cast<char>(p >> 24);
    }
    std::ofstream(dir / "in.pam", std::ios::binary) << pam;
    const std::string command = "convert '" + (dir / "in.pam").string() + "' '"
                                + (dir / "out.cur").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::string error;
    const auto decoded = ReadCursorFile((dir / "out.cur").string(), &error);
    ASSERT_TRUE(decoded) << error;
    const CCursorImage& back = decoded->images[0];
    EXPECT_EQ(back.width, 32);
    EXPECT_EQ(back.height, 32);
    EXPECT_EQ(back.hotX, 0);
    // ImageMagick keeps colours under zero alpha; compare what shows
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        if ((image.pixels[i] >> 24) == 0)
            EXPECT_EQ(back.pixels[i] >> 24, 0u) << i;
        else
            EXPECT_EQ(back.pixels[i], image.pixels[i]) << i;
    }

    // At 256 x 256 ImageMagick stores a PNG, which is refused cleanly
    const std::string big = "convert -size 256x256 xc:red '" + (dir / "big.ico").string() + "'";
    ASSERT_EQ(std::system(big.c_str()), 0);
    EXPECT_FALSE(ReadCursorFile((dir / "big.ico").string(), &error));
    EXPECT_NE(error.find("PNG"), std::string::npos);
}

TEST(CursorFile, RefusesTruncatedFilesAtEveryLength) {
    const Bytes cur = EncodeCursor(TestImage(8, 8, 1, 1));
    const Bytes ani = EncodeAnimatedCursor(ThreeFrames());
    for (std::size_t n = 0; n < cur.size(); ++n)
        EXPECT_FALSE(DecodeCursor(std::span(cur.data(), n))) << "cursor cut at " << n;
    for (std::size_t n = 0; n < ani.size(); ++n)
        EXPECT_FALSE(DecodeAnimatedCursor(std::span(ani.data(), n))) << "animation cut at " << n;
}

TEST(CursorFile, RefusesGarbledFields) {
    const Bytes cur = HandCursor(2, 2, 24, {}, {{}, {}}, {{0}, {0}}, 0, 0);
    const std::size_t dib = 22;
    const std::vector<std::pair<const char*, std::function<void(Bytes&)>>> cursorCases = {
        {"reserved word set", [](Bytes& b) { b[0] = 1; }},
        {"resource type 3", [](Bytes& b) { b[2] = 3; }},
        {"no entries", [](Bytes& b) { b[4] = 0; }},
        {"picture beyond the file", [](Bytes& b) { Set32(b, 18, 4000); }},
        {"picture inside the directory", [](Bytes& b) { Set32(b, 18, 4); }},
        {"header size 12", [&](Bytes& b) { Set32(b, dib, 12); }},
        {"header larger than the picture", [&](Bytes& b) { Set32(b, dib, 100000); }},
        {"width 0", [&](Bytes& b) { Set32(b, dib + 4, 0); }},
        {"width 300", [&](Bytes& b) { Set32(b, dib + 4, 300); }},
        {"negative height", [&](Bytes& b) { Set32(b, dib + 8, static_cast<std::uint32_t>(-4)); }},
        {"height 600", [&](Bytes& b) { Set32(b, dib + 8, 600); }},
        {"16 bits per pixel", [&](Bytes& b) { b[dib + 14] = 16; }},
        {"compressed", [&](Bytes& b) { Set32(b, dib + 16, 1); }},
        {"palette too long",
         [&](Bytes& b) {
             b[dib + 14] = 1;
             Set32(b, dib + 32, 3);
         }},
        {"rows missing", [&](Bytes& b) { Set32(b, dib + 8, 8); }},
    };
    for (const auto& [name, garble] : cursorCases) {
        Bytes bad = cur;
        garble(bad);
        std::string error;
        EXPECT_FALSE(DecodeCursor(bad, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }

    const Bytes ani = EncodeAnimatedCursor(ThreeFrames());
    const std::size_t header = std::string(ani.begin(), ani.end()).find("anih") + 8;
    const std::size_t seq = std::string(ani.begin(), ani.end()).find("seq ") + 8;
    const std::vector<std::pair<const char*, std::function<void(Bytes&)>>> animationCases = {
        {"not ACON", [](Bytes& b) { b[8] = 'X'; }},
        {"RIFF longer than the file",
         [](Bytes& b) { Set32(b, 4, static_cast<std::uint32_t>(b.size())); }},
        {"header renamed", [&](Bytes& b) { b[header - 8] = 'x'; }},
        {"no frames", [&](Bytes& b) { Set32(b, header + 4, 0); }},
        {"more frames than icons", [&](Bytes& b) { Set32(b, header + 4, 4); }},
        {"frames not icons", [&](Bytes& b) { Set32(b, header + 32, 2); }},
        {"too many steps", [&](Bytes& b) { Set32(b, header + 8, 5000); }},
        {"sequence longer than its chunk", [&](Bytes& b) { Set32(b, header + 8, 5); }},
        {"sequence names frame 7", [&](Bytes& b) { Set32(b, seq + 4, 7); }},
        {"chunk runs past the end", [&](Bytes& b) { Set32(b, header - 4, 100000); }},
    };
    for (const auto& [name, garble] : animationCases) {
        Bytes bad = ani;
        garble(bad);
        EXPECT_FALSE(DecodeAnimatedCursor(bad)) << name;
    }

    // Any single byte changed anywhere must not crash the reader (run under AddressSanitizer)
    for (const Bytes& valid : {cur, ani}) {
        for (std::size_t i = 0; i < valid.size(); ++i) {
            for (const std::uint8_t value : {0x00, 0x7F, 0xFF}) {
                Bytes bad = valid;
                bad[i] = value;
                (void)DecodeCursor(bad);
                (void)DecodeAnimatedCursor(bad);
            }
        }
    }
}

TEST(CursorFile, LooksUpTheAnimatedFormFirst) {
    const auto dir = TempDir("lookup");
    const std::string folder = dir.string() + "/";
    std::string path;
    EXPECT_FALSE(LoadNamedCursor(folder, "Wait", &path));

    WriteFile(dir / "Wait.cur", EncodeCursor(TestImage(8, 8, 0, 0)));
    auto found = LoadNamedCursor(folder, "Wait", &path);
    ASSERT_TRUE(found);
    EXPECT_EQ(path, folder + "Wait.cur");

    WriteFile(dir / "Wait.ani", EncodeAnimatedCursor(ThreeFrames()));
    found = LoadNamedCursor(folder, "Wait", &path);
    ASSERT_TRUE(found);
    EXPECT_EQ(path, folder + "Wait.ani");
    EXPECT_TRUE(found->IsAnimated());

    // A broken animation falls back to the static form
    WriteFile(dir / "Wait.ani", Bytes{'R', 'I', 'F', 'F', 0, 0});
    found = LoadNamedCursor(folder, "Wait", &path);
    ASSERT_TRUE(found);
    EXPECT_EQ(path, folder + "Wait.cur");
}
