#include "BoardPage.hpp"

#include "online/HighscoreTable.hpp"

namespace {

// Dark like the game; narrow screens get a smaller type and tighter cells so
// that a 15-character name still fits on a phone.
constexpr std::string_view kStyle = R"css(
body{font-family:system-ui,sans-serif;margin:0 auto;max-width:42em;padding:0 1em 2em;
background:#10182b;color:#e8ecf4;line-height:1.4}
h1{font-size:1.6em;margin:.8em 0 .4em}
h2{font-size:1.2em;margin:1.6em 0 .4em}
a{color:#8fc4ff}
.mode{color:#9aa6bf;font-size:.8em;font-weight:normal}
table{width:100%;border-collapse:collapse}
th,td{padding:.35em .5em;text-align:left;border-bottom:1px solid #2c3a58}
th{color:#9aa6bf;font-weight:normal}
.pos,.time{text-align:right;font-variant-numeric:tabular-nums}
.pos,.time,.day{white-space:nowrap}
.verified{text-align:center;color:#7ddc8a}
.name{overflow-wrap:anywhere}
.hash{color:#6f7b94;font-size:.75em;font-family:monospace;overflow-wrap:anywhere}
figure.level{margin:1em 0}
svg.map{display:block;width:100%;height:auto;max-height:80vh;border-radius:4px}
.legend{list-style:none;margin:.6em 0 0;padding:0;display:flex;flex-wrap:wrap;gap:.3em 1.2em;
font-size:.9em;color:#c6cee0}
.legend li{display:flex;align-items:center;gap:.4em}
svg.swatch{height:1.2em;width:auto;flex:none}
.note{color:#9aa6bf;font-size:.9em}
dl.record{display:flex;flex-wrap:wrap;gap:.4em 2em;margin:1em 0}
dl.record dt{color:#9aa6bf;font-size:.8em}
dl.record dd{margin:0;font-size:1.3em;overflow-wrap:anywhere;font-variant-numeric:tabular-nums}
.download a{font-weight:bold}
code{background:#1c2b4a;padding:.1em .3em;border-radius:3px;overflow-wrap:anywhere}
@media (max-width:30em){body{font-size:13px;padding:0 .5em 1em}th,td{padding:.3em .2em}}
)css";

constexpr std::string_view kVerifiedMark = "&#10003;";

std::string cell(std::string_view kind, std::string_view html) {
    return "<td class=\"" + std::string(kind) + "\">" + std::string(html) + "</td>";
}

}  // namespace

std::string linked(const std::string& html, const std::string& path) {
    return path.empty() ? html : "<a href=\"" + htmlEscape(path) + "\">" + html + "</a>";
}

std::string htmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string htmlPage(std::string_view title, std::string_view content) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" +
           htmlEscape(title) + "</title><style>" + std::string(kStyle) + "</style></head><body>\n" +
           std::string(content) + "\n</body></html>\n";
}

std::string boardTableHtml(const std::vector<BoardRow>& rows) {
    if (rows.empty()) {
        return "<p class=\"empty\">No times yet.</p>";
    }
    std::string html =
        "<table><thead><tr><th class=\"pos\">#</th><th class=\"time\">Time</th><th>Date</th>"
        "<th>Name</th><th class=\"verified\" title=\"Verified by replay\">" +
        std::string(kVerifiedMark) + "</th></tr></thead><tbody>\n";
    for (const BoardRow& row : rows) {
        html += "<tr>" + cell("pos", std::to_string(row.position)) +
                cell("time", linked(htmlEscape(tableTimeText(row.seconds)), row.link)) +
                cell("day", htmlEscape(row.day)) + cell("name", htmlEscape(row.name)) +
                cell("verified", row.verified ? kVerifiedMark : "") + "</tr>\n";
    }
    return html + "</tbody></table>";
}
