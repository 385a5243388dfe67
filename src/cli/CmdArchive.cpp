// kompendor-cli list / extract: the entries of a .nox archive and the bytes of one member, read
// with the program's own archive reader and, unless told otherwise, its password.
#include <sys/stat.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
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
            std::cout << e.name << '\t' << e.comprSize << '\t' << e.uncomprSize << '\t' << e.method
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
    return std::fwrite(block.data(), 1, block.size(), out) == block.size() && std::fflush(out) == 0;
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
