// kompendor-cli picture: decodes an archive member the way the viewers do (size limit, screen
// size at 96 dpi, transparency on white) and writes it as a PNG file.
#include <QBuffer>
#include <QByteArray>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "archive/ArchivePassword.h"
#include "cli/CliCommand.h"
#include "platform/AtomicFile.h"
#include "viewers/Picture.h"

namespace {

constexpr const char* kUsage
    = "usage: kompendor-cli picture ARCHIVE MEMBER --png FILE "
      "[--password TEXT]\n";

}  // namespace

int RunPicture(const CliArgs& args) {
    std::vector<std::string> positional;
    std::optional<std::string> png;
    std::string password = kArchivePassword;
    for (std::size_t i = 0; i < args.args.size(); ++i) {
        const std::string& a = args.args[i];
        if ((a == "--png" || a == "--password") && i + 1 >= args.args.size()) {
            std::cerr << "kompendor-cli: " << a << " needs a value\n";
            return 2;
        }
        if (a == "--png") {
            png = args.args[++i];
        } else if (a.rfind("--png=", 0) == 0) {
            png = a.substr(6);
        } else if (a == "--password") {
            password = args.args[++i];
        } else if (a.rfind("--password=", 0) == 0) {
            password = a.substr(11);
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "kompendor-cli: unknown option " << a << "\n";
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2 || !png || png->empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string& archive = positional[0];
    const std::string& member = positional[1];

    CPicture picture;
    switch (ReadArchivePicture(archive, member, password, picture, kDefaultScreenDpi)) {
        case PictureRead::NotFound:
            std::cerr << "kompendor-cli: cannot extract " << member << " from " << archive << "\n";
            return 1;
        case PictureRead::Refused:
            std::cerr << "kompendor-cli: " << member
                      << " is no usable picture (unreadable, or larger than " << kMaxPictureSide
                      << " pixels a side or " << kMaxPicturePixels << " pixels in all)\n";
            return 1;
        case PictureRead::Ok:
            break;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.Image().save(&buffer, "PNG")
        || !WriteFileAtomically(*png, std::string_view(bytes.constData(), bytes.size()))) {
        std::cerr << "kompendor-cli: cannot write " << *png << "\n";
        return 1;
    }
    std::cout << member << ": " << picture.Width() << " x " << picture.Height() << "\n";
    return 0;
}
