#pragma once

#include <string>
#include <string_view>
#include <vector>

// One row of a table on the web board.
struct BoardRow {
    int position = 0;
    float seconds = 0;
    // UTC day the time arrived, "YYYY-MM-DD".
    std::string day;
    std::string name;
    // The server replayed the run with the game's own simulation.
    bool verified = false;
    // The path of the record's page (a verified record's); "" for none.
    std::string link;
};

// `text` safe inside HTML text and quoted attribute values.
std::string htmlEscape(std::string_view text);

// `html` as a link to `path`, or as it is when the path is "".
std::string linked(const std::string& html, const std::string& path);

// A whole page: the title (plain text) and `content` (HTML), with the board's
// style sheet. No script: the pages are read, never run.
std::string htmlPage(std::string_view title, std::string_view content);

// The rows as a table (position, time as the game shows it, date, name, a
// mark for verified records; the time links to the record's page when it
// has one), or a line saying there are none.
std::string boardTableHtml(const std::vector<BoardRow>& rows);
