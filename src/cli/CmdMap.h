#pragma once
// kompendor-cli map: shared by kompendor-cli (text) and kompendor-cli-gui (--png).

#include <string>

#include "cli/CliCommand.h"

struct CMapDisplay;

// Draws the display into a PNG file of width x height; false with error set when it cannot.
using MapPngWriter = bool (*)(const CMapDisplay& display, const std::string& mapDir,
                              const std::string& path, int width, int height,
                              std::string& error);

// Runs the command; --png is refused without a writer.
int RunMapCommand(const CliArgs& args, MapPngWriter writer);
