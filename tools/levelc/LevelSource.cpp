#include "levelc/LevelSource.hpp"

#include <algorithm>
#include <sstream>

#include "sim/level/TmxReader.hpp"

namespace {

constexpr int maxCells = TmxLimits::maxCells;

std::string trimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

std::string located(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// XML has no place for most control characters, and turns a tab in an
// attribute into a space: a title with one would not come back as written.
bool hasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 0x20 || code == 0x7F;
    });
}

}  // namespace

int tileIdOf(char symbol) {
    switch (symbol) {
        case '.':
        case ' ':
            return 0;
        case '@':
            return 1;  // ball start
        case 'F':
            return 2;  // finish
        case '#':
            return 3;  // wall, anchors bridges
        case '%':
            return 4;  // breakable block
        // Slopes by the corner their right angle sits in, as on a numeric keypad.
        case '9':
            return 5;
        case '3':
            return 6;
        case '1':
            return 7;
        case '7':
            return 8;
        case '*':
            return 9;  // loose diamond
        case 'o':
            return 10;  // loose ball
        case '!':
            return 17;  // penalty
        case '=':
            return 18;  // bridge block
        case 'X':
            return 19;  // fixed wall
        default:
            break;
    }
    static const std::string colours = "bcgpry";  // blue cyan green purple red yellow
    const auto lower = colours.find(symbol);
    if (lower != std::string::npos) {
        return 11 + static_cast<int>(lower);  // switch
    }
    static const std::string targets = "BCGPRY";
    const auto upper = targets.find(symbol);
    if (upper != std::string::npos) {
        return 21 + static_cast<int>(upper);  // colour target
    }
    return -1;
}

bool parseLevelSource(const std::string& text, LevelSource& level, std::string& error) {
    level = LevelSource();
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    bool inMap = false;
    int firstMapLine = 0;
    std::vector<std::string> rows;
    while (std::getline(in, line)) {
        ++lineNumber;
        line = trimRight(line);
        if (!inMap) {
            if (line.empty() || line[0] == '#') {
                continue;  // comments live in the header only: '#' is a wall below
            }
            if (line == "map:") {
                inMap = true;
                firstMapLine = lineNumber + 1;
            } else if (line.rfind("title:", 0) == 0) {
                const auto start = line.find_first_not_of(' ', 6);
                level.title = start == std::string::npos ? "" : line.substr(start);
                if (hasControlCharacter(level.title)) {
                    error =
                        located(lineNumber, "the title holds a tab or another control character");
                    return false;
                }
            } else {
                error = located(lineNumber, "expected \"title: ...\" or \"map:\"");
                return false;
            }
            continue;
        }
        rows.push_back(line);
    }
    while (!rows.empty() && rows.back().empty()) {
        rows.pop_back();
    }
    if (!inMap || rows.empty()) {
        error = "no map";
        return false;
    }
    std::size_t width = 0;
    for (const std::string& row : rows) {
        width = std::max(width, row.size());
    }
    if (width > maxCells || rows.size() > maxCells) {
        error = "map larger than " + std::to_string(maxCells) + " cells";
        return false;
    }
    level.width = static_cast<int>(width);
    level.height = static_cast<int>(rows.size());
    int ballStarts = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < width; ++c) {
            const char symbol = c < rows[r].size() ? rows[r][c] : '.';
            const int id = tileIdOf(symbol);
            if (id < 0) {
                error = located(firstMapLine + static_cast<int>(r),
                                "column " + std::to_string(c + 1) + ": unknown map character '" +
                                    std::string(1, symbol) + "'");
                return false;
            }
            ballStarts += id == 1 ? 1 : 0;
            level.tiles.push_back(id);
        }
    }
    if (ballStarts != 1) {
        error = "the map needs exactly one ball start '@', it has " + std::to_string(ballStarts);
        return false;
    }
    return true;
}
