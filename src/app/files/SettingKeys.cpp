#include "app/files/SettingKeys.hpp"

namespace Setting {

SettingKey<int> startLevel(GameMode mode) {
    return {"startlevel_" + std::to_string(mode), 0};
}

}  // namespace Setting

std::string personalBestKey(GameMode mode, const LevelIdentity& level) {
    return "_ " + std::to_string(mode) + " " + level.text();
}
