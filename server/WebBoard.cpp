#include "WebBoard.hpp"

#include <charconv>
#include <optional>

#include "sim/level/LevelList.hpp"

namespace {

constexpr std::string_view kTablePrefix = "/table/";
// The pages hold no script, and the browser is told so.
constexpr const char* kPageHeaders =
    "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'\r\n";

struct LevelKey {
    int mode;
    int levelId;
};

// A plain decimal number: digits only, no leading zero, at most six digits.
std::optional<int> plainNumber(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 6 || (text[0] == '0' && text.size() > 1) ||
        result.ec != std::errc() || result.ptr != text.data() + text.size() || text[0] == '-') {
        return std::nullopt;
    }
    return value;
}

const LevelEntry* findLevel(const LevelKey& key) {
    for (const LevelEntry& level : levelsOf(static_cast<GameMode>(key.mode))) {
        if (level.levelId == key.levelId) {
            return &level;
        }
    }
    return nullptr;
}

// "MODE/LEVEL" of a known level.
std::optional<LevelKey> levelOfPath(std::string_view rest) {
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto mode = plainNumber(rest.substr(0, slash));
    const auto levelId = plainNumber(rest.substr(slash + 1));
    if (!mode || !levelId || !findLevel({*mode, *levelId})) {
        return std::nullopt;
    }
    return LevelKey{*mode, *levelId};
}

std::string levelHeading(const char* tag, const LevelEntry& level, int mode) {
    return std::string("<") + tag + ">" + htmlEscape(level.name) + " <span class=\"mode\">" +
           htmlEscape(modeName(static_cast<GameMode>(mode))) + "</span></" + tag + ">";
}

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
    for (const GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const auto table = tables.table(mode, level.levelId);
            if (!table) {
                return errorResponse(500, "storage");
            }
            const std::string link =
                "/table/" + std::to_string(mode) + "/" + std::to_string(level.levelId);
            content += "<section>" + levelHeading("h2", level, mode) +
                       boardTableHtml(boardRows(table->rows, kFrontPageRows)) + "<p><a href=\"" +
                       link + "\">Whole table</a></p></section>\n";
        }
    }
    return page(200, "Rollavortex highscores", content, "front page");
}

HttpResponse WebBoard::tablePage(std::string_view path) {
    const auto key = levelOfPath(path);
    if (!key) {
        return page(404, "No such table",
                    "<h1>No such table</h1><p><a href=\"/\">All levels</a></p>",
                    "refused: no such table");
    }
    const auto table = tables.table(key->mode, key->levelId);
    if (!table) {
        return errorResponse(500, "storage");
    }
    const LevelEntry& level = *findLevel(*key);
    const std::string content = levelHeading("h1", level, key->mode) +
                                "<p><a href=\"/\">All levels</a></p>" +
                                boardTableHtml(boardRows(table->rows, TableCache::kMaxRecords));
    return page(200, std::string(level.name) + " - Rollavortex highscores", content,
                "board mode=" + std::to_string(key->mode) +
                    " level=" + std::to_string(key->levelId) + " " +
                    std::to_string(table->rows.size()) + " records");
}
