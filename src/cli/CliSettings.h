#pragma once
// The installation a subcommand works on: the settings record read as the program reads it,
// from the program's own folder or the one --base names.

#include <memory>

#include "app/Settings.h"
#include "cli/CliCommand.h"

struct CliInstallation {
    std::unique_ptr<CRegistryFiles> registry;
    std::unique_ptr<CSettings> settings;
};

// Reads NOX.INI of the installation (the registry's override applies as for the program).
CliInstallation LoadInstallation(const CliArgs& args);

class CDatabase;

// The installation's almanac, opened as the program opens it; nothing after a message on
// standard error naming command when it does not open.
std::unique_ptr<CDatabase> OpenCliAlmanac(const CliInstallation& inst, const char* command);
