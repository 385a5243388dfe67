// kompendor-cli settings: the settings record, one name=value line per field in the order the
// record reads them.
#include <cstdio>
#include <iostream>

#include "cli/CliSettings.h"

namespace {

std::string Colour(ColorRef color) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(color));
    return text;
}

}  // namespace

int RunSettings(const CliArgs& args) {
    if (!args.args.empty()) {
        std::cerr << "kompendor-cli settings: takes no arguments\n";
        return 2;
    }
    CliInstallation inst = LoadInstallation(args);
    const CSettings& s = *inst.settings;
    const std::pair<const char*, std::string> fields[] = {
        {"loaded", std::to_string(s.loaded)},
        {"iniFile", s.iniFile},
        {"baseDir", s.baseDir},
        {"app", s.app},
        {"userData", s.userData},
        {"presets", s.presets},
        {"ui", s.ui},
        {"mdb", s.mdb},
        {"img", s.img},
        {"sound", s.sound},
        {"html", s.html},
        {"audio", s.audio},
        {"video", s.video},
        {"cursor", s.cursor},
        {"imgSmall", s.imgSmall},
        {"imgPreview", s.imgPreview},
        {"imgZoom", s.imgZoom},
        {"toolTipFont", s.toolTipFont},
        {"toolTipFontSize", std::to_string(s.toolTipFontSize)},
        {"toolTipDelay", std::to_string(s.toolTipDelay)},
        {"toolTipTextColor", Colour(s.toolTipTextColor)},
        {"toolTipBackColor", Colour(s.toolTipBackColor)},
    };
    for (const auto& [name, value] : fields) std::cout << name << '=' << value << '\n';
    return 0;
}
