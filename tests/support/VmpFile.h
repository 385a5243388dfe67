#pragma once
// Writes small outline files in the renderer's format (Laender.vmp) for tests: each shape
// one or more rectangles given in degrees.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct CTestShape {
    std::uint32_t mapId;
    // Rectangles as west, south, east, north.
    std::vector<std::vector<float>> boxes;
};

inline std::string VmpFileBytes(const std::vector<CTestShape>& shapes) {
    std::string out = "KVMP";
    auto put = [&](auto v) {
        char b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        out.append(b, sizeof v);
    };
    std::uint32_t rings = 0;
    for (const CTestShape& s : shapes) rings += std::uint32_t(s.boxes.size());
    put(std::uint32_t(1));
    put(std::uint32_t(shapes.size()));
    put(rings);
    put(rings * 4);
    std::uint32_t ring = 0;
    for (const CTestShape& s : shapes) {
        float w = 180, so = 90, e = -180, n = -90;
        for (const auto& b : s.boxes) {
            w = std::min(w, b[0]);
            so = std::min(so, b[1]);
            e = std::max(e, b[2]);
            n = std::max(n, b[3]);
        }
        put(s.mapId);
        put(w);
        put(so);
        put(e);
        put(n);
        put(ring);
        put(std::uint32_t(s.boxes.size()));
        ring += std::uint32_t(s.boxes.size());
    }
    for (std::uint32_t r = 0; r < rings; ++r) {
        put(r * 4);
        put(std::uint32_t(4));
        put(std::uint32_t(0));
    }
    for (const CTestShape& s : shapes) {
        for (const auto& b : s.boxes) {
            for (float p : {b[0], b[1], b[2], b[1], b[2], b[3], b[0], b[3]}) put(p);
        }
    }
    return out;
}
