// kompendor-cli list / extract: the entries of a .nox archive and the bytes of one member, read
// with the program's own archive reader and, unless told otherwise, its password.
#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"
#include "cli/CliCommand.h"

namespace {

struct ArchiveOptions {
    std::vector<std::string> positional;
    std::string password = kArchivePassword;
    std::optional<std::string> output;
};

// False (with a message) for an unknown option or one without its value.
bool ParseOptions(const std::vector<std::string>& args, bool allowOutput, ArchiveOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                std::cerr << "kompendor-cli: " << a << " needs a value\n";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--password") {
            if (!value(options.password)) return false;
        } else if (a.rfind("--password=", 0) == 0) {
            options.password = a.substr(11);
        } else if (allowOutput && a == "-o") {
            std::string path;
            if (!value(path)) return false;
            options.output = path;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            std::cerr << "kompendor-cli: unknown option " << a << "\n";
            return false;
        } else {
            options.positional.push_back(a);
        }
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Opens the archive; false after the message when it is missing or cannot be read.
bool OpenArchive(CArchiveReader& reader, const std::string& path, const std::string& password) {
    if (!FileExists(path)) {
        std::cerr << "kompendor-cli: archive not found: " << path << "\n";
        return false;
    }
    reader.Open(path);
    reader.SetPassword(password);
    return true;
}

// The length of the well-formed UTF-8 character at text[pos] (no overlong form, no surrogate,
// nothing beyond U+10FFFF); 0 when the bytes there are none.
std::size_t Utf8Length(std::string_view text, std::size_t pos, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length;
    char32_t lowest;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - pos < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

// A member name as one line of the listing: a crafted name must not start a line of its own,
// move the cursor or send escapes to the terminal. Control characters (C0, DEL and C1), bytes
// that are no UTF-8 and the backslash itself are written as \xNN per byte (\t, \n, \r and
// \\ for the common ones); everything else stays as it is.
std::string EscapeListedName(std::string_view name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    auto escapeByte = [&](unsigned char b) {
        switch (b) {
            case '\t':
                out += "\\t";
                return;
            case '\n':
                out += "\\n";
                return;
            case '\r':
                out += "\\r";
                return;
            case '\\':
                out += "\\\\";
                return;
            default:
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
        }
    };
    std::size_t pos = 0;
    while (pos < name.size()) {
        char32_t c = 0;
        const std::size_t length = Utf8Length(name, pos, c);
        const bool control = c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == '\\';
        if (length == 0 || control) {
            const std::size_t bytes = length == 0 ? 1 : length;
            for (std::size_t k = 0; k < bytes; ++k)
                escapeByte(static_cast<unsigned char>(name[pos + k]));
            pos += bytes;
            continue;
        }
        out.append(name.substr(pos, length));
        pos += length;
    }
    return out;
}

}  // namespace

int RunArchiveList(const CliArgs& args) {
    ArchiveOptions options;
    if (!ParseOptions(args.args, false, options)) return 2;
    if (options.positional.size() != 1) {
        std::cerr << "usage: kompendor-cli list ARCHIVE [--password TEXT]\n";
        return 2;
    }
    try {
        CArchiveReader reader;
        if (!OpenArchive(reader, options.positional[0], options.password)) return 1;
        for (const CArchiveEntry& e : reader.GetEntries()) {
            std::cout << EscapeListedName(e.name) << '\t' << e.comprSize << '\t' << e.uncomprSize << '\t' << e.method
                      << '\t' << e.flag << '\n';
        }
    } catch (const CZipException& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}

namespace {

bool WriteAll(std::FILE* out, const CMemoryBlock& block) {
    // An empty member has no data pointer to hand to fwrite.
    if (!block.empty() && std::fwrite(block.data(), 1, block.size(), out) != block.size())
        return false;
    return std::fflush(out) == 0;
}

}  // namespace

int RunArchiveExtract(const CliArgs& args) {
    ArchiveOptions options;
    if (!ParseOptions(args.args, true, options)) return 2;
    if (options.positional.size() != 2) {
        std::cerr << "usage: kompendor-cli extract ARCHIVE MEMBER [-o FILE] [--password TEXT]\n";
        return 2;
    }
    const std::string& member = options.positional[1];
    CMemoryBlock block;
    try {
        CArchiveReader reader;
        if (!OpenArchive(reader, options.positional[0], options.password)) return 1;
        const int index = reader.FindFile(member);
        if (index < 0) {
            std::cerr << "kompendor-cli: member not found: " << member << "\n";
            return 1;
        }
        if (reader.GetEntry(index).IsEncrypted() && options.password.empty()) {
            std::cerr << "kompendor-cli: " << member << " is encrypted and no password was given\n";
            return 1;
        }
        if (!reader.ExtractToMemory(index, block)) {
            std::cerr << "kompendor-cli: not enough memory for " << member << "\n";
            return 1;
        }
    } catch (const CZipException& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    if (!options.output) {
        if (!WriteAll(stdout, block)) {
            std::cerr << "kompendor-cli: cannot write to standard output\n";
            return 1;
        }
        return 0;
    }
    std::FILE* out = std::fopen(options.output->c_str(), "wb");
    const bool written = out && WriteAll(out, block);
    if (out && std::fclose(out) != 0) return 1;
    if (!written) {
        std::cerr << "kompendor-cli: cannot write " << *options.output << "\n";
        return 1;
    }
    return 0;
}
