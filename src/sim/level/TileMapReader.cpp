#include <cctype>
#include <climits>
#include <filesystem>
#include <string>

#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/level/TileMap.hpp"

// The level files are scanned line by line, not parsed as XML: only the layer
// line (the map size) and the one-element-per-line tile lines of the editor's
// plain XML encoding are read. The scanner below follows the C library's
// formatted-input rules for the two fixed patterns the files need, without its
// undefined behaviour on numbers too large for an int.
namespace {

bool isWhite(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

class LineScanner {
  public:
    explicit LineScanner(std::string_view line) : text(line) {}

    // A run of non-white characters after any white space ("%*s").
    bool skipWord() {
        skipWhite();
        const std::size_t start = at;
        while (at < text.size() && !isWhite(text[at])) {
            ++at;
        }
        return at > start;
    }

    // A signed decimal integer after any white space ("%d"), saturated to the
    // int range instead of overflowing.
    bool readInt(std::int32_t& value) {
        skipWhite();
        std::size_t pos = at;
        bool negative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negative = text[pos] == '-';
            ++pos;
        }
        const std::size_t digitsStart = pos;
        long long magnitude = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
            if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
                magnitude = magnitude * 10 + (text[pos] - '0');
            }
            ++pos;
        }
        if (pos == digitsStart) {
            return false;
        }
        at = pos;
        const long long signedValue = negative ? -magnitude : magnitude;
        if (signedValue > INT_MAX) {
            value = INT_MAX;
        } else if (signedValue < INT_MIN) {
            value = INT_MIN;
        } else {
            value = static_cast<std::int32_t>(signedValue);
        }
        return true;
    }

  private:
    void skipWhite() {
        while (at < text.size() && isWhite(text[at])) {
            ++at;
        }
    }

    std::string_view text;
    std::size_t at = 0;
};

// `<layer name= Layer 1  width= 20  height= 15 >`: the name must be one word
// and an integer, and width and height must follow it in that order.
void scanLayerLine(TileMap& map, std::string_view line) {
    LineScanner scan(line);
    std::int32_t ignored = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (scan.skipWord() && scan.skipWord() && scan.skipWord() && scan.readInt(ignored) &&
        scan.skipWord() && scan.readInt(width) && scan.skipWord() && scan.readInt(height)) {
        map.width = width;
        map.height = height;
    }
}

// `<tile gid= 7 />`; an id that does not scan still takes its cell, as empty,
// so the cells after it keep their places.
void scanTileLine(TileMap& map, std::string_view line) {
    LineScanner scan(line);
    std::int32_t id = 0;
    if (!(scan.skipWord() && scan.skipWord() && scan.readInt(id))) {
        id = 0;
    }
    map.tiles.push_back(id);
}

void scanLine(TileMap& map, std::string line) {
    const std::size_t firstNonBlank = line.find_first_not_of(' ');
    line.erase(0, firstNonBlank == std::string::npos ? line.size() : firstNonBlank);
    for (char& c : line) {
        if (c == '"') {
            c = ' ';
        }
    }
    if (line.find("layer name=") != std::string::npos) {
        scanLayerLine(map, line);
    }
    if (line.find("tile gid=") != std::string::npos) {
        scanTileLine(map, line);
    }
}

}  // namespace

void parseTileMap(TileMap& map, std::string_view content) {
    map.tiles.clear();
    // Everything after a NUL byte is not part of the text.
    content = content.substr(0, content.find('\0'));
    std::size_t at = 0;
    while (at < content.size()) {
        const std::size_t start = content.find_first_not_of('\n', at);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        scanLine(map, std::string(content.substr(start, end - start)));
        at = end;
    }
}

bool readTileMap(TileMap& map, const char* path) {
    std::error_code error;
    // A folder opens like a file on some systems and then reports a size of
    // nonsense; it is no level either way.
    const bool readable = path != nullptr && std::filesystem::is_regular_file(path, error);
    const auto bytes = readable ? readWholeFile(path) : std::nullopt;
    if (!bytes) {
        reportUnreadableFile(path != nullptr ? path : "");
        map.tiles.clear();
        return false;
    }
    parseTileMap(map, std::string_view(bytes->data(), bytes->size()));
    return true;
}
