#include "RecordPages.hpp"

#include <optional>

#include "BoardPaths.hpp"
#include "BoardResponse.hpp"
#include "RecordPage.hpp"
#include "ShownRecord.hpp"
#include "sim/base/Sha256.hpp"

namespace {

constexpr std::string_view kPrefix = "/run/";
constexpr std::string_view kRunSuffix = ".run";
// MODE/LEVEL/POSITION, and the run's identity after them for the download.
constexpr std::size_t kPageSegments = 3;
constexpr std::size_t kRunSegments = 4;

struct RecordPlace {
    const ServerLevel* level = nullptr;
    std::size_t position = 0;
    // The identity of the run asked for; "" for the page.
    std::string sha256;
};

std::optional<RecordPlace> placeOfPath(const ServerLevels& levels, std::string_view rest) {
    const auto segments = pathSegments(rest);
    if (segments.size() != kPageSegments && segments.size() != kRunSegments) {
        return std::nullopt;
    }
    const ServerLevel* level = knownLevel(levels, segments[0], segments[1]);
    const auto position = plainNumber(segments[2]);
    if (!level || !position || *position == 0) {
        return std::nullopt;
    }
    RecordPlace place{level, static_cast<std::size_t>(*position), ""};
    if (segments.size() == kRunSegments) {
        const std::string_view file = segments[3];
        if (!file.ends_with(kRunSuffix) ||
            !isSha256Hex(file.substr(0, file.size() - kRunSuffix.size()))) {
            return std::nullopt;
        }
        place.sha256 = file.substr(0, file.size() - kRunSuffix.size());
    }
    return place;
}

std::string placeText(const ServerLevels& levels, const RecordPlace& place) {
    return levels.logText(place.level->mode, place.level->key) + " position " +
           std::to_string(place.position);
}

HttpResponse runDownload(const RecordView& record) {
    HttpResponse response;
    // Bytes to keep, never a page to show: the browser saves them as they are.
    response.contentType = "application/octet-stream";
    response.body = record.verified.run;
    response.extraHeaders = "Content-Disposition: attachment; filename=\"" + runFileName(record) +
                            "\"\r\nX-Content-Type-Options: nosniff\r\n";
    return response;
}

}  // namespace

bool RecordPages::serves(std::string_view path) {
    return path.starts_with(kPrefix);
}

HttpResponse RecordPages::handle(std::string_view path) {
    const auto place = placeOfPath(levels, path.substr(kPrefix.size()));
    if (!place) {
        return notFoundPage("No such record", "", "refused: no such record");
    }
    auto record =
        shownRecord(tables, store, place->level->mode, place->level->key, place->position);
    if (!record) {
        return errorResponse(500, "storage");
    }
    const std::string where = placeText(levels, *place);
    if (!record->row) {
        return notFoundPage("No such record", "The table has no record at this place.",
                            "refused: " + where + " no record");
    }
    if (record->verified.run.empty()) {
        return notFoundPage(
            "No run to show",
            "This time was not verified by a replay, so the board has no run of it.",
            "refused: " + where + " not verified");
    }
    const RecordView view{place->level, place->position, record->row->name,
                          std::move(record->verified)};
    if (!place->sha256.empty()) {
        if (sha256Hex(view.verified.run) != place->sha256) {
            return notFoundPage("This run has left its place",
                                "The table changed since the page with this link was shown.",
                                "refused: " + where + " another run now");
        }
        HttpResponse response = runDownload(view);
        response.note = where + " run sent";
        return response;
    }
    const auto map = maps.of(*place->level);
    const std::string title =
        view.name + " on " + place->level->shownName() + " - Rollavortex highscores";
    const bool routeUnreadable =
        !view.verified.route.empty() && !readRouteBlob(view.verified.route);
    return boardPageResponse(
        200, title, recordPageHtml(view, map.get()),
        where + " record page" + (routeUnreadable ? ", its stored route cannot be read" : ""));
}
