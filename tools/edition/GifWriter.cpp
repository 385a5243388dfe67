#include "GifWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

struct CColorBox {
    std::vector<QRgb> colors;  // distinct colours, each once
    std::vector<int> counts;   // pixels of each colour
    int spread = -1;           // of its widest channel, weighted; -1 until measured
    int channel = 0;
};

int Channel(QRgb c, int channel) {
    return channel == 0 ? qRed(c) : (channel == 1 ? qGreen(c) : qBlue(c));
}

// The channel with the widest spread, weighted as the eye sees it.
int WidestChannel(const CColorBox& box, int& spread) {
    int best = 0;
    spread = -1;
    static const int kWeight[3] = {3, 4, 2};
    for (int ch = 0; ch < 3; ++ch) {
        int lo = 255, hi = 0;
        for (QRgb c : box.colors) {
            lo = std::min(lo, Channel(c, ch));
            hi = std::max(hi, Channel(c, ch));
        }
        if ((hi - lo) * kWeight[ch] > spread) {
            spread = (hi - lo) * kWeight[ch];
            best = ch;
        }
    }
    return best;
}

QRgb AverageColor(const CColorBox& box) {
    double r = 0, g = 0, b = 0, n = 0;
    for (std::size_t i = 0; i < box.colors.size(); ++i) {
        r += qRed(box.colors[i]) * double(box.counts[i]);
        g += qGreen(box.colors[i]) * double(box.counts[i]);
        b += qBlue(box.colors[i]) * double(box.counts[i]);
        n += box.counts[i];
    }
    return qRgb(int(r / n + 0.5), int(g / n + 0.5), int(b / n + 0.5));
}

// GIF's variable-length LZW codes, packed least significant bit first into sub-blocks of
// at most 255 bytes.
class CLzwOutput {
public:
    explicit CLzwOutput(QByteArray& out) : m_out(out) {}
    void Put(int code, int bits) {
        m_accumulator |= std::uint32_t(code) << m_bitCount;
        m_bitCount += bits;
        while (m_bitCount >= 8) {
            PutByte(std::uint8_t(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_bitCount -= 8;
        }
    }
    void Finish() {
        if (m_bitCount > 0) PutByte(std::uint8_t(m_accumulator & 0xFF));
        FlushBlock();
        m_out.append(char(0));  // block terminator
    }

private:
    void PutByte(std::uint8_t b) {
        m_block[m_blockSize++] = b;
        if (m_blockSize == 255) FlushBlock();
    }
    void FlushBlock() {
        if (m_blockSize == 0) return;
        m_out.append(char(m_blockSize));
        m_out.append(reinterpret_cast<const char*>(m_block.data()), m_blockSize);
        m_blockSize = 0;
    }

    QByteArray& m_out;
    std::uint32_t m_accumulator = 0;
    int m_bitCount = 0;
    std::array<std::uint8_t, 255> m_block{};
    int m_blockSize = 0;
};

// The LZW dictionary: (prefix code, next index) to code, in an open-addressed table twice
// the size of the 4096 codes, so a lookup is a probe or two.
class CLzwTable {
public:
    CLzwTable() { Clear(); }
    void Clear() { std::fill(m_keys.begin(), m_keys.end(), kEmpty); }
    int Find(std::uint32_t key) const {
        for (std::uint32_t i = Hash(key);; i = (i + 1) & kMask) {
            if (m_keys[i] == key) return m_codes[i];
            if (m_keys[i] == kEmpty) return -1;
        }
    }
    void Insert(std::uint32_t key, int code) {
        std::uint32_t i = Hash(key);
        while (m_keys[i] != kEmpty) i = (i + 1) & kMask;
        m_keys[i] = key;
        m_codes[i] = std::int16_t(code);
    }

private:
    static constexpr std::uint32_t kSize = 8192, kMask = kSize - 1;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // keys use 20 bits
    static std::uint32_t Hash(std::uint32_t key) { return (key * 2654435761u) >> 19; }
    std::array<std::uint32_t, kSize> m_keys{};
    std::array<std::int16_t, kSize> m_codes{};
};

void AppendUInt16(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

}  // namespace

QImage QuantizeImage(const QImage& image, int maxColors) {
    maxColors = std::clamp(maxColors, 2, 256);
    QImage source = image.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<QRgb, int> histogram;
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) ++histogram[line[x] | 0xFF000000u];
    }
    std::vector<CColorBox> boxes(1);
    for (const auto& [color, count] : histogram) {
        boxes[0].colors.push_back(color);
        boxes[0].counts.push_back(count);
    }
    // Split the box with the widest spread until there are enough boxes or nothing left
    // to split; a flag with few colours keeps exactly its colours.
    while (int(boxes.size()) < maxColors) {
        int pick = -1, pickSpread = 0, pickChannel = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].colors.size() < 2) continue;
            if (boxes[i].spread < 0) boxes[i].channel = WidestChannel(boxes[i], boxes[i].spread);
            if (boxes[i].spread > pickSpread) {
                pick = i;
                pickSpread = boxes[i].spread;
                pickChannel = boxes[i].channel;
            }
        }
        if (pick < 0) break;
        CColorBox& box = boxes[pick];
        std::vector<std::size_t> order(box.colors.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return Channel(box.colors[a], pickChannel) < Channel(box.colors[b], pickChannel);
        });
        long total = 0;
        for (int c : box.counts) total += c;
        long running = 0;
        std::size_t cut = 1;
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            running += box.counts[order[i]];
            cut = i + 1;
            if (running * 2 >= total) break;
        }
        CColorBox low, high;
        for (std::size_t i = 0; i < order.size(); ++i) {
            CColorBox& target = i < cut ? low : high;
            target.colors.push_back(box.colors[order[i]]);
            target.counts.push_back(box.counts[order[i]]);
        }
        boxes[pick] = std::move(low);
        boxes.push_back(std::move(high));
    }
    QList<QRgb> palette;
    for (const CColorBox& box : boxes) palette.append(AverageColor(box));

    QImage result(source.size(), QImage::Format_Indexed8);
    result.setColorTable(palette);
    std::unordered_map<QRgb, int> nearest;
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* outLine = result.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            QRgb c = line[x] | 0xFF000000u;
            auto it = nearest.find(c);
            if (it == nearest.end()) {
                int best = 0, bestDistance = INT32_MAX;
                for (int i = 0; i < palette.size(); ++i) {
                    int dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]),
                        db = qBlue(c) - qBlue(palette[i]);
                    int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
                it = nearest.emplace(c, best).first;
            }
            outLine[x] = uchar(it->second);
        }
    }
    return result;
}

QByteArray EncodeGif(const QImage& indexed) {
    if (indexed.format() != QImage::Format_Indexed8 || indexed.isNull()) return {};
    const int width = indexed.width(), height = indexed.height();
    int colorBits = 1;
    while ((1 << colorBits) < indexed.colorCount()) ++colorBits;

    QByteArray out("GIF89a");
    // Logical screen: size, global colour table of 2^colorBits entries.
    AppendUInt16(out, width);
    AppendUInt16(out, height);
    out.append(char(0x80 | ((colorBits - 1) << 4) | (colorBits - 1)));
    out.append(char(0));  // background colour index
    out.append(char(0));  // no aspect ratio
    for (int i = 0; i < (1 << colorBits); ++i) {
        QRgb c = i < indexed.colorCount() ? indexed.color(i) : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // Image descriptor: the whole screen, not interlaced, no local colour table.
    out.append(',');
    AppendUInt16(out, 0);
    AppendUInt16(out, 0);
    AppendUInt16(out, width);
    AppendUInt16(out, height);
    out.append(char(0));

    const int minCodeSize = std::max(2, colorBits);
    out.append(char(minCodeSize));
    const int clearCode = 1 << minCodeSize, endCode = clearCode + 1;
    CLzwOutput lzw(out);
    // Dictionary of (prefix code, next index) -> code.
    CLzwTable table;
    int nextCode = endCode + 1, codeBits = minCodeSize + 1;
    lzw.Put(clearCode, codeBits);
    int prefix = -1;
    for (int y = 0; y < height; ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            int k = line[x];
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(k);
            if (int code = table.Find(key); code >= 0) {
                prefix = code;
                continue;
            }
            lzw.Put(prefix, codeBits);
            if (nextCode < 4096) {
                table.Insert(key, nextCode++);
                // The decoder widens its codes once the code just added needs more bits.
                if (nextCode > (1 << codeBits) && codeBits < 12) ++codeBits;
            } else {
                lzw.Put(clearCode, codeBits);
                table.Clear();
                nextCode = endCode + 1;
                codeBits = minCodeSize + 1;
            }
            prefix = k;
        }
    }
    if (prefix >= 0) lzw.Put(prefix, codeBits);
    lzw.Put(endCode, codeBits);
    lzw.Finish();
    out.append(';');
    return out;
}
