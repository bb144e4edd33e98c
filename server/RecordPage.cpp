#include "RecordPage.hpp"

#include <charconv>
#include <filesystem>
#include <optional>

#include "BoardLevels.hpp"
#include "BoardPage.hpp"
#include "BoardPaths.hpp"
#include "online/HighscoreTable.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/Units.hpp"

namespace {

// A route point is the ball's centre; the centre of cell (c, r) is at world
// pixels (64 c, 64 r), so the map's cell units start half a cell earlier.
constexpr double kHalfCell = cellPixels / 2.0;
constexpr int kCoordinateDecimals = 2;
// The ball at the finish, drawn its own size: 60 pixels across.
constexpr std::string_view kBallRadiusCells = ".47";
constexpr std::size_t kBytesPerKilobyte = 1000;

std::string cellCoordinate(int pixels) {
    char text[32];
    const double cells = (pixels + kHalfCell) / cellPixels;
    const auto end = std::to_chars(text, text + sizeof text, cells, std::chars_format::fixed,
                                   kCoordinateDecimals)
                         .ptr;
    return std::string(text, end);
}

std::string pointText(const RoutePoint& point) {
    return cellCoordinate(point.x) + "," + cellCoordinate(point.y);
}

std::string circleAt(const RoutePoint& point, std::string_view attributes) {
    return "<circle cx=\"" + cellCoordinate(point.x) + "\" cy=\"" + cellCoordinate(point.y) +
           "\" " + std::string(attributes) + "/>";
}

std::string sizeText(std::size_t bytes) {
    if (bytes < kBytesPerKilobyte) {
        return std::to_string(bytes) + " bytes";
    }
    return std::to_string((bytes + kBytesPerKilobyte / 2) / kBytesPerKilobyte) + " kB";
}

std::string detail(std::string_view term, const std::string& html) {
    return "<div><dt>" + std::string(term) + "</dt><dd>" + html + "</dd></div>";
}

std::string detailsHtml(const RecordView& record) {
    return "<dl class=\"record\">" + detail("Place", std::to_string(record.position)) +
           detail("Time", htmlEscape(tableTimeText(static_cast<float>(record.verified.seconds)))) +
           detail("Player", htmlEscape(record.name)) +
           detail("Verified", htmlEscape(record.verified.day)) + "</dl>";
}

// The map with the route, or what is known instead of it.
std::string mapHtml(const RecordView& record, const LevelMap* map) {
    std::optional<std::vector<RoutePoint>> route;
    std::string note;
    if (record.verified.route.empty()) {
        note = "This run was verified before the server kept routes, so its route is not shown.";
    } else if (route = readRouteBlob(record.verified.route); !route) {
        note = "The route kept for this run cannot be read, so it is not shown.";
    } else {
        note =
            "The route is the ball's path in the server's own replay of the run, "
            "twenty points a second.";
    }
    if (map == nullptr) {
        return "<p class=\"note\">The level's map cannot be drawn.</p>";
    }
    const std::string title = std::string("Map of ") + record.level->shownName() +
                              (route ? " with the route of the record" : "");
    return mapFigureHtml(*map, title, route ? routeSvg(*route) : "",
                         "<p class=\"note\">" + htmlEscape(note) + "</p>");
}

std::string downloadHtml(const RecordView& record) {
    const std::string& run = record.verified.run;
    const std::string link = runFilePath(*record.level, record.position, sha256Hex(run));
    return "<p class=\"download\"><a href=\"" + htmlEscape(link) + "\" download=\"" +
           htmlEscape(runFileName(record)) + "\">Download the run</a> (" + sizeText(run.size()) +
           ") and watch it in the game: <code>rollavortex --replay FILE</code></p>";
}

// ASCII only, whatever the locale: the name goes into a header line.
bool safeInFileName(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

std::string fileNamePart(std::string_view text) {
    std::string part;
    for (const char c : text) {
        if (safeInFileName(c)) {
            part += c;
        }
    }
    return part;
}

}  // namespace

std::string routeSvg(const std::vector<RoutePoint>& route) {
    if (route.empty()) {
        return "";
    }
    std::string points;
    std::string last;
    for (const RoutePoint& point : route) {
        // The ball resting gives the same point again and again.
        std::string text = pointText(point);
        if (text != last) {
            points += (points.empty() ? "" : " ") + text;
            last = std::move(text);
        }
    }
    const std::string colour(kRouteColour);
    return "<g class=\"route\"><polyline points=\"" + points + "\" fill=\"none\" stroke=\"" +
           colour +
           "\" stroke-width=\".14\" stroke-linejoin=\"round\" stroke-linecap=\"round\" "
           "opacity=\".9\"/>" +
           circleAt(route.front(),
                    "r=\".22\" fill=\"#10182b\" stroke=\"" + colour + "\" stroke-width=\".1\"") +
           circleAt(route.back(), "r=\"" + std::string(kBallRadiusCells) + "\" fill=\"" + colour +
                                      "\" stroke=\"#10182b\" stroke-width=\".06\"") +
           "</g>";
}

std::string recordPageHtml(const RecordView& record, const LevelMap* map) {
    return levelHeadingHtml("h1", *record.level) + "<p><a href=\"/\">All levels</a> &middot; " +
           "<a href=\"" + htmlEscape(tablePath(*record.level)) + "\">Whole table</a></p>" +
           detailsHtml(record) + mapHtml(record, map) + downloadHtml(record);
}

std::string runFileName(const RecordView& record) {
    std::string name = fileNamePart(std::filesystem::path(record.level->runFile).stem().string());
    if (name.empty()) {
        name = "level-" + record.level->identity.text();
    }
    name += "-" + std::to_string(record.position);
    if (const std::string player = fileNamePart(record.name); !player.empty()) {
        name += "-" + player;
    }
    return name + ".run";
}
