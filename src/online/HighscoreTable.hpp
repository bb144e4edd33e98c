#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends to `tokens` every maximal run of `text` that holds none of the
// `separators`; runs of separators, and separators at either end, give no empty
// tokens.
void splitTokens(std::string_view text, std::string_view separators,
                 std::vector<std::string>& tokens);

// The time column of a table row: seconds with three decimals below a minute
// ("12.346"), minutes, a colon, two-digit seconds and three decimals from a
// minute on ("1:15.500"). Milliseconds are rounded half up.
std::string tableTimeText(float seconds);

// One fetched highscore list. The server answers with lines of four
// TAB-separated fields, position, free text (the date), name and seconds; the
// answer is kept as its tokens and every four consecutive tokens form a record.
// Tokens after the last complete record belong to no record.
class HighscoreTable {
  public:
    static constexpr int kNoRecord = -1;

    // Forgets the tokens and the own record; the view starts at the top again.
    void clear();
    unsigned recordCount() const;
    // Field 0 to 3 of record `record`; empty for a record or field that does
    // not exist.
    const std::string& field(unsigned record, unsigned index) const;
    // Finds the first record named exactly `playerName` (byte-wise) and scrolls
    // so that at most `leadRows` records show above it.
    void findOwnRecord(const std::string& playerName, unsigned leadRows);
    // The text of the row showing `record`: the position right-aligned in six
    // characters, ". ", the time, two spaces, the free text, two spaces, the
    // name. Empty for a record that does not exist.
    std::string rowText(unsigned record) const;

    std::vector<std::string> tokens;
    // Index of the player's own record, or kNoRecord.
    int ownRecord = kNoRecord;
    // Index of the record in the first row of the table view.
    unsigned firstShown = 0;
};
