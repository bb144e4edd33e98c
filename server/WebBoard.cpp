#include "WebBoard.hpp"

#include "BoardLevels.hpp"
#include "BoardResponse.hpp"

namespace {

constexpr std::string_view kTablePrefix = "/table/";
constexpr std::string_view kVerifiedNote =
    "<p class=\"note\">A time marked &#10003; was verified by the server's own replay of its "
    "run: it links to the route and the run.</p>";

// "MODE/LEVEL" of a level this server keeps; null for anything else.
const ServerLevel* levelOfPath(const ServerLevels& levels, std::string_view rest) {
    const auto segments = pathSegments(rest);
    return segments.size() == 2 ? knownLevel(levels, segments[0], segments[1]) : nullptr;
}

// The level's map without a route; "" when it cannot be drawn.
std::string mapFigure(const LevelMap* map, const ServerLevel& level) {
    return map ? mapFigureHtml(*map, "Map of " + level.shownName(), "") : "";
}

}  // namespace

std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count,
                                const ServerLevel& level) {
    std::vector<BoardRow> rows;
    for (const BestTime& time : times) {
        if (rows.size() == count) {
            break;
        }
        const std::size_t position = rows.size() + 1;
        rows.push_back({static_cast<int>(position), time.seconds, time.day, time.name,
                        time.verified, time.verified ? recordPath(level, position) : ""});
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
    for (const ServerLevel& level : levels.all()) {
        if (!level.isShipped()) {
            continue;
        }
        const auto table = tables.table(level.mode, level.key);
        if (!table) {
            return errorResponse(500, "storage");
        }
        content += "<section>" + levelHeadingHtml("h2", level) +
                   boardTableHtml(boardRows(table->rows, kFrontPageRows, level)) + "<p><a href=\"" +
                   tablePath(level) + "\">Whole table and map</a></p></section>\n";
    }
    content += customLevelListHtml(levels);
    return boardPageResponse(200, "Rollavortex highscores", content, "front page");
}

HttpResponse WebBoard::tablePage(std::string_view path) {
    const ServerLevel* level = levelOfPath(levels, path);
    if (!level) {
        return notFoundPage("No such table", "", "refused: no such table");
    }
    const auto table = tables.table(level->mode, level->key);
    if (!table) {
        return errorResponse(500, "storage");
    }
    const auto map = maps.of(*level);
    const std::string content =
        levelHeadingHtml("h1", *level) + "<p><a href=\"/\">All levels</a></p>" +
        mapFigure(map.get(), *level) + std::string(kVerifiedNote) +
        boardTableHtml(boardRows(table->rows, TableCache::kMaxRecords, *level));
    return boardPageResponse(200, level->shownName() + " - Rollavortex highscores", content,
                             "board " + levels.logText(level->mode, level->key) + " " +
                                 std::to_string(table->rows.size()) + " records");
}
