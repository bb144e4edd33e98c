#include "levelc/TmxWriter.hpp"

#include <string>

#include "sim/level/LevelSource.hpp"

namespace {

// The picture of each tile id 1..26, for the editor; id 20 means nothing and
// has no picture, so the tileset skips it.
const char* const tilePictures[26] = {
    "player.png",
    "finish.png",
    "wall.png",
    "destroyable.png",
    "wallupperright.png",
    "walllowerright.png",
    "walllowerleft.png",
    "wallupperleft.png",
    "dynamicdiamond.png",
    "dynamiccircle.png",
    "switchblue.png",
    "switchcyan.png",
    "switchgreen.png",
    "switchpurple.png",
    "switchred.png",
    "switchyellow.png",
    "penalty.png",
    "wall.png",
    "wall.png",
    nullptr,
    "colorroundblue.png",
    "colorroundcyan.png",
    "colorroundgreen.png",
    "colorroundpurple.png",
    "colorroundred.png",
    "colorroundyellow.png",
};

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string writeTmx(const LevelSource& level, const std::string& imageFolder) {
    const std::string w = std::to_string(level.width);
    const std::string h = std::to_string(level.height);
    int pictures = 0;
    for (const char* picture : tilePictures) {
        pictures += picture != nullptr ? 1 : 0;
    }
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out +=
        "<map version=\"1.2\" tiledversion=\"1.2.0\" orientation=\"orthogonal\" "
        "renderorder=\"right-down\" width=\"" +
        w + "\" height=\"" + h +
        "\" tilewidth=\"64\" tileheight=\"64\" infinite=\"0\" nextlayerid=\"2\" "
        "nextobjectid=\"1\">\n";
    out += " <properties>\n";
    out += "  <property name=\"title\" value=\"" + escaped(level.title) + "\"/>\n";
    if (!level.mode.empty()) {
        out += "  <property name=\"mode\" value=\"" + escaped(level.mode) + "\"/>\n";
    }
    out += " </properties>\n";
    out +=
        " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"64\" tileheight=\"64\" "
        "tilecount=\"" +
        std::to_string(pictures) + "\" columns=\"0\">\n";
    out += "  <grid orientation=\"orthogonal\" width=\"1\" height=\"1\"/>\n";
    for (int id = 0; id < 26; ++id) {
        if (tilePictures[id] == nullptr) {
            continue;
        }
        out += "  <tile id=\"" + std::to_string(id) + "\">\n";
        out += "   <image source=\"" + escaped(imageFolder) + tilePictures[id] + "\"/>\n";
        out += "  </tile>\n";
    }
    out += " </tileset>\n";
    out += " <layer name=\"Layer 1\" width=\"" + w + "\" height=\"" + h + "\" id=\"1\">\n";
    out += "  <data>\n";
    for (const int id : level.tiles) {
        out += "   <tile gid=\"" + std::to_string(id) + "\"/>\n";
    }
    out += "  </data>\n";
    out += " </layer>\n";
    out += "</map>\n";
    return out;
}
