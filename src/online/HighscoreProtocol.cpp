#include "online/HighscoreProtocol.hpp"

#include "online/RunTransport.hpp"

#include <algorithm>
#include <array>

#include "online/FormBody.hpp"

namespace HighscoreProtocol {

namespace {

struct KnownLevel {
    int mode;
    int levelId;
};

constexpr std::array<KnownLevel, 4> kKnownLevels = {{{1, 250}, {1, 275}, {2, 20000}, {2, 20057}}};

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == ',' || c == ' ';
}

}  // namespace

std::string nameCheckBody(std::string_view name) {
    return "name=" + escapeFormValue(name);
}

std::string submissionBody(std::string_view name, int mode, const LevelIdentity& level,
                           std::string_view scoreText) {
    return "name=" + escapeFormValue(name) + "&mode=" + std::to_string(mode) +
           "&level=" + level.text() + "&score=" + escapeFormValue(scoreText);
}

std::string tableQueryBody(int mode, const LevelIdentity& level) {
    return "&mode=" + std::to_string(mode) + "&level=" + level.text();
}

std::string runBody(std::string_view name, int mode, const LevelIdentity& level,
                    std::string_view scoreText, std::string_view runText) {
    return submissionBody(name, mode, level, scoreText) + "&runz=" + packRun(runText);
}

std::string runQueryBody(int mode, const LevelIdentity& level, int position) {
    return "mode=" + std::to_string(mode) + "&level=" + level.text() +
           "&position=" + std::to_string(position);
}

bool isValidPlayerName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxNameLength &&
           std::all_of(name.begin(), name.end(), isNameCharacter);
}

bool isKnownLevel(int mode, int levelId) {
    return std::any_of(kKnownLevels.begin(), kKnownLevels.end(), [&](const KnownLevel& level) {
        return level.mode == mode && level.levelId == levelId;
    });
}

}  // namespace HighscoreProtocol
