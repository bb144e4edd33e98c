// Feeds arbitrary server answers to the game's side: the HTTP answer reader,
// the table with its own-record search and row texts, and the score text
// reader. Nothing may crash and the table's invariants must hold.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "online/HighscoreTable.hpp"
#include "online/client/HttpExchange.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

// Rows are cheap; the bound only keeps each run short.
constexpr unsigned kMaxRowsChecked = 256;

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void checkTable(std::string_view text) {
    HighscoreTable table;
    splitTokens(text, "\n\t", table.tokens);
    for (const std::string& token : table.tokens) {
        require(!token.empty() && token.find_first_of("\n\t") == std::string::npos);
    }
    require(table.recordCount() == table.tokens.size() / 4);

    const std::string name = table.tokens.size() > 2 ? table.tokens[2] : std::string(text);
    const unsigned leadRows = static_cast<unsigned>(text.size() % 20);
    table.findOwnRecord(name, leadRows);
    if (table.ownRecord != HighscoreTable::kNoRecord) {
        const unsigned own = static_cast<unsigned>(table.ownRecord);
        require(table.field(own, 2) == name);
        require(table.firstShown <= own && own - table.firstShown <= leadRows);
    } else {
        require(table.firstShown == 0);
    }
    for (unsigned r = 0; r < table.recordCount() && r < kMaxRowsChecked; ++r) {
        const std::string row = table.rowText(r);
        const std::string& rowName = table.field(r, 2);
        require(row.size() >= 6 + rowName.size());
        require(row.compare(row.size() - rowName.size(), rowName.size(), rowName) == 0);
    }
}

void checkTimeText(std::string_view text) {
    if (text.size() < sizeof(float)) {
        return;
    }
    float seconds = 0;
    std::memcpy(&seconds, text.data(), sizeof seconds);
    const std::string shown = tableTimeText(seconds);
    const std::size_t point = shown.find('.');
    require(point != std::string::npos && shown.size() == point + 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkTable(text);
    checkTimeText(text);

    for (bool closed : {false, true}) {
        const HttpAnswer answer = parseHttpAnswer(text, closed);
        require(!answer.complete || (answer.headerRead && answer.body.size() <= size));
        if (answer.complete) {
            checkTable(answer.body);
        }
    }

    const float seconds = decodeTime(text);
    if (const auto strict = parseScoreText(text)) {
        require(*strict == seconds && *strict >= 0);
        require(!encodeTime(*strict).empty());
    }
    return 0;
}
