// kompendor-cli map --png: the world map drawn off screen by the renderer, in the colours of
// the display, and written as a PNG file.
#include <QBuffer>
#include <QImage>

#include "cli/CmdMap.h"
#include "map/MapData.h"
#include "platform/AtomicFile.h"
#include "vmap/VMap.h"

namespace {

bool WriteMapPng(const CMapDisplay& display, const std::string& mapDir, const std::string& path,
                 int width, int height, std::string& error) {
    CVMap* map = CreateVMap();
    if (!map) {
        error = "the map renderer could not be created";
        return false;
    }
    map->Init();
    const bool opened = map->Open(mapDir.c_str());
    if (!opened) {
        DestroyVMap(map);
        error = "cannot read " + mapDir + "Laender.vmp";
        return false;
    }
    map->SetColors(display.block.data());
    map->SetView(0, 0, 1);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    map->Render(&image);
    DestroyVMap(map);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG")
        || !WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()))) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace

int RunMapPng(const CliArgs& args) { return RunMapCommand(args, &WriteMapPng); }
