#include "archive/ArchiveTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace archive_test {

CTempDir::CTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kompendor-archive-XXXXXX");
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

CTempDir::~CTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

bool HaveTool(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

bool RunIn(const std::filesystem::path& folder, const std::string& command) {
    const std::string line = "cd " + Quote(folder.string()) + " && " + command + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string SampleText(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {
        "Land",     "Bevölkerung", "Einwohner", "Hauptstadt", "Fläche",  "Wirtschaft",
        "Export",   "Import",      "Jahr",      "Regierung",  "Sprache", "Währung",
        "und",      "der",         "die",       "das",        "im",      "mit",
        "Prozent",  "Millionen",   "Staat",     "Grenze",     "Küste",   "Gebirge",
        "Republik", "Königreich",  "Fluss",     "Klima",      "Handel",  "Industrie",
    };
    std::string text;
    text.reserve(size + 64);
    std::uint32_t state = seed * 2654435761u + 1;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    while (text.size() < size) {
        if (next() % 3 == 0) {
            // A CSV-like data line: country, field, year, value.
            text += std::to_string(next() % 250) + ";" + std::to_string(next() % 400) + ";"
                    + std::to_string(1990 + next() % 15) + ";" + std::to_string(next() % 100000)
                    + "," + std::to_string(next() % 100) + "\n";
        } else {
            const int words = 6 + static_cast<int>(next() % 12);
            for (int i = 0; i < words; ++i) {
                text += kWords[next() % std::size(kWords)];
                text += i + 1 < words ? ' ' : '.';
            }
            text += '\n';
        }
    }
    text.resize(size);
    return text;
}

std::size_t EndRecordOffset(const Bytes& archive) {
    for (std::size_t i = archive.size() >= 4 ? archive.size() - 4 + 1 : 0; i-- > 0;) {
        if (archive[i] == 'P' && archive[i + 1] == 'K' && archive[i + 2] == 5
            && archive[i + 3] == 6)
            return i;
    }
    return std::string::npos;
}

std::size_t CentralOffset(const Bytes& archive) {
    for (std::size_t i = 0; i + 4 <= archive.size(); ++i) {
        if (archive[i] == 'P' && archive[i + 1] == 'K' && archive[i + 2] == 1
            && archive[i + 3] == 2)
            return i;
    }
    return std::string::npos;
}

void Put16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    Put16(bytes, offset, static_cast<std::uint16_t>(value));
    Put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t Get16(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

std::uint32_t Get32(const Bytes& bytes, std::size_t offset) {
    return Get16(bytes, offset) | (std::uint32_t{Get16(bytes, offset + 2)} << 16);
}

}  // namespace archive_test
