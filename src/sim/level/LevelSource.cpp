#include "sim/level/LevelSource.hpp"

#include <algorithm>
#include <optional>

#include "sim/level/TmxReader.hpp"

namespace {

constexpr int maxCells = TmxLimits::maxCells;
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// XML has no place for most control characters, and turns a tab in an
// attribute into a space: a title with one would not come back as written.
bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 0x20 || code == 0x7F;
    });
}

// The value of a "key: value" header line, or nothing when the line has
// another key.
std::optional<std::string_view> headerValue(std::string_view line, std::string_view key) {
    if (line.substr(0, key.size()) != key) {
        return std::nullopt;
    }
    line.remove_prefix(key.size());
    const std::size_t start = line.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

// Reads the text line by line, collecting problems up to the limit.
class SourceReader {
  public:
    explicit SourceReader(std::string_view text) : rest(text) {
        if (rest.substr(0, byteOrderMark.size()) == byteOrderMark) {
            rest.remove_prefix(byteOrderMark.size());
        }
    }

    std::vector<LevelProblem> read(LevelSource& level) {
        LevelSource read;
        std::string_view line;
        while (!inMap && nextLine(line)) {
            readHeader(line, read);
        }
        std::vector<std::string_view> rows;
        read.firstMapLine = lineNumber + 1;
        while (inMap && nextLine(line)) {
            rows.push_back(line);
        }
        while (!rows.empty() && rows.back().empty()) {
            rows.pop_back();
        }
        if (rows.empty()) {
            add({"there is no map: it starts with a line \"map:\" after the header", 0, 0});
        } else {
            readCells(rows, read);
        }
        if (problems.empty()) {
            level = std::move(read);
        }
        return finish();
    }

  private:
    bool nextLine(std::string_view& line) {
        if (rest.empty()) {
            return false;
        }
        const std::size_t end = rest.find('\n');
        line = trimRight(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++lineNumber;
        return true;
    }

    void add(LevelProblem problem) {
        if (problems.size() < LevelSourceLimits::maxProblems) {
            problems.push_back(std::move(problem));
        } else {
            ++untold;
        }
    }

    std::vector<LevelProblem> finish() {
        if (untold > 0) {
            problems.push_back({"and " + std::to_string(untold) + " more problems", 0, 0});
        }
        return std::move(problems);
    }

    void readHeader(std::string_view line, LevelSource& level) {
        // Comments live in the header only: '#' is a wall below.
        if (line.empty() || line[0] == '#') {
            return;
        }
        if (line == "map:") {
            inMap = true;
        } else if (const auto title = headerValue(line, "title:")) {
            level.title = std::string(*title);
            if (hasControlCharacter(level.title)) {
                add({"the title holds a tab or another control character", lineNumber, 0});
            }
        } else if (const auto mode = headerValue(line, "mode:")) {
            level.mode = std::string(*mode);
            if (hasControlCharacter(level.mode)) {
                add({"the mode holds a tab or another control character", lineNumber, 0});
            }
        } else {
            add({"expected \"title: ...\", \"mode: ...\" or \"map:\"", lineNumber, 0});
        }
    }

    void readCells(const std::vector<std::string_view>& rows, LevelSource& level) {
        std::size_t width = 0;
        for (const std::string_view row : rows) {
            width = std::max(width, row.size());
        }
        if (width > maxCells || rows.size() > maxCells) {
            add({"the map is " + std::to_string(width) + " x " + std::to_string(rows.size()) +
                     " cells; a level has at most " + std::to_string(maxCells) + " x " +
                     std::to_string(maxCells),
                 level.firstMapLine, 0});
            return;
        }
        level.width = static_cast<int>(width);
        level.height = static_cast<int>(rows.size());
        level.tiles.reserve(width * rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t c = 0; c < width; ++c) {
                // Short rows are padded with empty cells.
                const char symbol = c < rows[r].size() ? rows[r][c] : '.';
                const int id = tileIdOf(symbol);
                if (id < 0) {
                    add({"unknown map character '" + std::string(1, symbol) + "'",
                         level.firstMapLine + static_cast<int>(r), static_cast<int>(c) + 1});
                }
                level.tiles.push_back(std::max(id, 0));
            }
        }
    }

    std::string_view rest;
    int lineNumber = 0;
    bool inMap = false;
    std::vector<LevelProblem> problems;
    std::size_t untold = 0;
};

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

std::vector<LevelProblem> readLevelSource(std::string_view text, LevelSource& level) {
    return SourceReader(text).read(level);
}

bool looksLikeXml(std::string_view bytes) {
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) {
        bytes.remove_prefix(byteOrderMark.size());
    }
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}
