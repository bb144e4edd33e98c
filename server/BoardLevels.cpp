#include "BoardLevels.hpp"

#include "BoardPage.hpp"
#include "BoardPaths.hpp"
#include "sim/level/LevelList.hpp"

namespace {

// Hex digits of a level's hash shown in the list; the whole hash is on its
// table's page and in its address.
constexpr std::size_t kShortHashDigits = 12;

std::string modeHtml(int mode) {
    return "<span class=\"mode\">" + htmlEscape(modeName(static_cast<GameMode>(mode))) + "</span>";
}

}  // namespace

std::string levelHeadingHtml(const char* tag, const ServerLevel& level) {
    std::string html = std::string("<") + tag + ">" + htmlEscape(level.shownName()) + " " +
                       modeHtml(level.mode) + "</" + tag + ">";
    if (!level.isShipped()) {
        html +=
            "<p class=\"hash\">Level file SHA-256 " + htmlEscape(level.identity.sha256) + "</p>";
    }
    return html;
}

std::string customLevelListHtml(const ServerLevels& levels) {
    std::string html;
    std::string pack;
    for (const ServerLevel& level : levels.all()) {
        if (level.isShipped()) {
            continue;
        }
        if (html.empty() || level.pack != pack) {
            pack = level.pack;
            html += std::string(html.empty() ? "" : "</ul>\n") + "<h3>" +
                    htmlEscape(pack.empty() ? "Custom levels" : pack) +
                    "</h3><ul class=\"levels\">";
        }
        html += "<li><a href=\"" + htmlEscape(tablePath(level)) + "\">" + htmlEscape(level.name) +
                "</a> " + modeHtml(level.mode) + " <span class=\"hash\">" +
                htmlEscape(level.identity.sha256.substr(0, kShortHashDigits)) + "</span></li>";
    }
    return html.empty() ? html : "<section><h2>More levels</h2>" + html + "</ul></section>\n";
}
