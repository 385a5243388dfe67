// kompendor-cli format VALUE...: the German display form of each number, one per line.
#include <charconv>
#include <iostream>

#include "cli/CliCommand.h"
#include "data/ValueRoutines.h"

int RunFormat(const CliArgs& args) {
    if (args.args.empty()) {
        std::cerr << "kompendor-cli format: no value given\n";
        return 2;
    }
    int status = 0;
    for (const std::string& text : args.args) {
        double value = 0;
        // The C locale's notation: "." as the decimal point, whatever the user's locale says.
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
            std::cerr << "kompendor-cli format: not a number: " << text << '\n';
            status = 1;
            continue;
        }
        std::cout << FormatNumber(value) << '\n';
    }
    return status;
}
