#include "cli/CliSettings.h"

#include <filesystem>

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
