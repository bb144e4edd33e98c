#include "WebBoard.hpp"

#include "BoardLevels.hpp"

namespace {

constexpr std::string_view kTablePrefix = "/table/";
// The pages hold no script, and the browser is told so.
constexpr const char* kPageHeaders =
    "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'\r\n";

HttpResponse page(int status, std::string_view title, const std::string& content,
                  std::string note) {
    HttpResponse response;
    response.status = status;
    response.contentType = "text/html; charset=utf-8";
    response.body = htmlPage(title, content);
    response.extraHeaders = kPageHeaders;
    response.note = std::move(note);
    return response;
}

}  // namespace

std::vector<BoardRow> boardRows(const std::vector<BestTime>& times, std::size_t count) {
    std::vector<BoardRow> rows;
    for (const BestTime& time : times) {
        if (rows.size() == count) {
            break;
        }
        rows.push_back(
            {static_cast<int>(rows.size()) + 1, time.seconds, time.day, time.name, time.verified});
    }
    return rows;
}

bool WebBoard::serves(std::string_view path) {
    return path == "/" || path.starts_with(kTablePrefix);
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
                   boardTableHtml(boardRows(table->rows, kFrontPageRows)) + "<p><a href=\"" +
                   tablePath(level) + "\">Whole table</a></p></section>\n";
    }
    content += customLevelListHtml(levels);
    return page(200, "Rollavortex highscores", content, "front page");
}

HttpResponse WebBoard::tablePage(std::string_view path) {
    const ServerLevel* level = levelOfPath(levels, path);
    if (!level) {
        return page(404, "No such table",
                    "<h1>No such table</h1><p><a href=\"/\">All levels</a></p>",
                    "refused: no such table");
    }
    const auto table = tables.table(level->mode, level->key);
    if (!table) {
        return errorResponse(500, "storage");
    }
    const std::string content = levelHeadingHtml("h1", *level) +
                                "<p><a href=\"/\">All levels</a></p>" +
                                boardTableHtml(boardRows(table->rows, TableCache::kMaxRecords));
    return page(200, level->shownName() + " - Rollavortex highscores", content,
                "board " + levels.logText(level->mode, level->key) + " " +
                    std::to_string(table->rows.size()) + " records");
}
