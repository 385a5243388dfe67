#include "cli/CliSettings.h"

#include <filesystem>
#include <iostream>

#include "app/Startup.h"
#include "data/Database.h"

CliInstallation LoadInstallation(const CliArgs& args) {
    std::string programDir = CSettings::ProgramDirectory();
    if (args.base) {
        std::error_code ec;
        programDir = std::filesystem::absolute(*args.base, ec).lexically_normal().string();
        if (ec) programDir = *args.base;
        if (programDir.empty() || programDir.back() != '/') programDir += '/';
    }
    CliInstallation inst;
    inst.registry = OpenProgramRegistry(programDir);
    inst.settings = std::make_unique<CSettings>(programDir, *inst.registry);
    return inst;
}

std::unique_ptr<CDatabase> OpenCliAlmanac(const CliInstallation& inst, const char* command) {
    std::string reason;
    std::unique_ptr<CDatabase> db = OpenAlmanacFile(inst.settings->mdb, reason);
    if (!db) std::cerr << "kompendor-cli " << command << ": " << reason << '\n';
    return db;
}
