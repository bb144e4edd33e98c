#include "online/HighscoreTable.hpp"

#include <charconv>
#include <cmath>

#include "sim/base/PlainDecimal.hpp"

namespace {

constexpr unsigned kFieldsPerRecord = 4;
constexpr std::size_t kPositionWidth = 6;
// Rounds the milliseconds half up before the text is cut after them.
constexpr float kHalfMillisecond = 0.0005f;
constexpr float kSecondsPerMinute = 60.0f;
constexpr std::size_t kShownDecimals = 3;

// A time field that is not a number shows as 0.
float readSeconds(const std::string& field) {
    float seconds = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), seconds);
    if (result.ec != std::errc()) {
        return 0;
    }
    return seconds;
}

}  // namespace

void splitTokens(std::string_view text, std::string_view separators,
                 std::vector<std::string>& tokens) {
    std::size_t start = 0;
    while (start < text.size()) {
        start = text.find_first_not_of(separators, start);
        if (start == std::string_view::npos) {
            return;
        }
        std::size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        tokens.emplace_back(text.substr(start, end - start));
        start = end;
    }
}

std::string tableTimeText(float seconds) {
    const float t = seconds + kHalfMillisecond;
    std::string text;
    if (t >= kSecondsPerMinute) {
        const float minutes = std::floor(t / kSecondsPerMinute);
        const float rest = t - kSecondsPerMinute * minutes;
        text = plainDecimal(minutes) + (rest < 10 ? ":0" : ":") + plainDecimal(rest);
    } else {
        text = plainDecimal(t);
    }
    const std::size_t point = text.find('.');
    if (point == std::string::npos) {
        return text + ".000";
    }
    text += "000";
    return text.substr(0, point + 1 + kShownDecimals);
}

void HighscoreTable::clear() {
    tokens.clear();
    ownRecord = kNoRecord;
    firstShown = 0;
}

unsigned HighscoreTable::recordCount() const {
    return static_cast<unsigned>(tokens.size() / kFieldsPerRecord);
}

const std::string& HighscoreTable::field(unsigned record, unsigned index) const {
    static const std::string none;
    if (record >= recordCount() || index >= kFieldsPerRecord) {
        return none;
    }
    return tokens[std::size_t{record} * kFieldsPerRecord + index];
}

void HighscoreTable::findOwnRecord(const std::string& playerName, unsigned leadRows) {
    ownRecord = kNoRecord;
    firstShown = 0;
    for (unsigned r = 0; r < recordCount(); ++r) {
        if (field(r, 2) == playerName) {
            ownRecord = static_cast<int>(r);
            if (r > leadRows) {
                firstShown = r - leadRows;
            }
            return;
        }
    }
}

std::string HighscoreTable::rowText(unsigned record) const {
    if (record >= recordCount()) {
        return {};
    }
    const std::string& position = field(record, 0);
    std::string row;
    if (position.size() < kPositionWidth) {
        row.assign(kPositionWidth - position.size(), ' ');
    }
    row += position;
    row += ". ";
    row += tableTimeText(readSeconds(field(record, 3)));
    row += "  " + field(record, 1) + "  " + field(record, 2);
    return row;
}
