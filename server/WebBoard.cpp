#include "WebBoard.hpp"

#include <optional>

#include "BoardResponse.hpp"
#include "sim/level/LevelList.hpp"

namespace {

constexpr std::string_view kTablePrefix = "/table/";
constexpr std::string_view kVerifiedNote =
    "<p class=\"note\">A time marked &#10003; was verified by the server's own replay of its "
    "run: it links to the route and the run.</p>";

// "MODE/LEVEL" of a known level.
std::optional<BoardLevel> levelOfPath(std::string_view rest) {
    const auto segments = pathSegments(rest);
    return segments.size() == 2 ? knownLevel(segments[0], segments[1]) : std::nullopt;
}

// The level's map without a route; "" when it cannot be drawn.
std::string mapFigure(const LevelMap* map, const LevelEntry& level) {
    return map ? mapFigureHtml(*map, std::string("Map of ") + level.name, "") : "";
}

}  // namespace

std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count, int mode,
                                const LevelIdentity& level) {
    std::vector<BoardRow> rows;
    for (const BestTime& time : times) {
        if (rows.size() == count) {
            break;
        }
        const std::size_t position = rows.size() + 1;
        rows.push_back({static_cast<int>(position), time.seconds, time.day, time.name,
                        time.verified, time.verified ? recordPath(mode, level, position) : ""});
    }
    return rows;
}

bool WebBoard::serves(std::string_view path) {
    return path == "/" || path.starts_with(kTablePrefix) || RecordPages::serves(path);
}

HttpResponse WebBoard::handle(const HttpRequest& request) {
    if (request.method != "GET" && request.method != "HEAD") {
        HttpResponse response = errorResponse(405, "only GET is served here");
        response.extraHeaders = "Allow: GET, HEAD\r\n";
        return response;
    }
    if (request.path == "/") {
        return frontPage();
    }
    if (RecordPages::serves(request.path)) {
        return records.handle(request.path);
    }
    return tablePage(std::string_view(request.path).substr(kTablePrefix.size()));
}

HttpResponse WebBoard::frontPage() {
    std::string content = "<h1>Rollavortex highscores</h1>";
    for (const GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const auto table = tables.table(mode, level.levelId);
            if (!table) {
                return errorResponse(500, "storage");
            }
            const auto inPath = LevelIdentity::shipped(level.levelId);
            content += "<section>" + levelHeading("h2", level, mode) +
                       boardTableHtml(boardRows(table->rows, kFrontPageRows, mode, inPath)) +
                       "<p><a href=\"" + tablePath(mode, inPath) +
                       "\">Whole table and map</a></p></section>\n";
        }
    }
    return boardPageResponse(200, "Rollavortex highscores", content, "front page");
}

HttpResponse WebBoard::tablePage(std::string_view path) {
    const auto key = levelOfPath(path);
    if (!key) {
        return notFoundPage("No such table", "", "refused: no such table");
    }
    const auto table = tables.table(key->mode, key->entry->levelId);
    if (!table) {
        return errorResponse(500, "storage");
    }
    const LevelEntry& level = *key->entry;
    const auto map = maps.shipped(key->mode, key->entry->levelId);
    const std::string content =
        levelHeading("h1", level, key->mode) + "<p><a href=\"/\">All levels</a></p>" +
        mapFigure(map.get(), level) + std::string(kVerifiedNote) +
        boardTableHtml(boardRows(table->rows, TableCache::kMaxRecords, key->mode, key->level));
    return boardPageResponse(
        200, std::string(level.name) + " - Rollavortex highscores", content,
        "board " + levelLogText(*key) + " " + std::to_string(table->rows.size()) + " records");
}
