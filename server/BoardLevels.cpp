#include "BoardLevels.hpp"

#include <charconv>

#include "BoardPage.hpp"
#include "sim/level/LevelList.hpp"

namespace {

// Hex digits of a level's hash shown in the list; the whole hash is on its
// table's page and in its address.
constexpr std::size_t kShortHashDigits = 12;

// A plain decimal mode: one or two digits, no leading zero.
std::optional<int> modeOfText(std::string_view text) {
    int mode = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.size() > 2 || text[0] == '0' ||
        std::from_chars(text.data(), end, mode).ptr != end) {
        return std::nullopt;
    }
    return mode;
}

std::string modeHtml(int mode) {
    return "<span class=\"mode\">" + htmlEscape(modeName(static_cast<GameMode>(mode))) + "</span>";
}

}  // namespace

const ServerLevel* levelOfPath(const ServerLevels& levels, std::string_view modeAndLevel) {
    const std::size_t slash = modeAndLevel.find('/');
    if (slash == std::string_view::npos) {
        return nullptr;
    }
    const auto mode = modeOfText(modeAndLevel.substr(0, slash));
    const auto identity = LevelIdentity::fromText(modeAndLevel.substr(slash + 1));
    if (!mode || !identity) {
        return nullptr;
    }
    return levels.find(*mode, *identity);
}

std::string tablePath(const ServerLevel& level) {
    return "/table/" + std::to_string(level.mode) + "/" + level.identity.text();
}

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
