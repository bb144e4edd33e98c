#include "app/SettingKeys.hpp"

namespace Setting {

SettingKey<int> startLevel(GameMode mode) {
    return {"startlevel_" + std::to_string(mode), 0};
}

}  // namespace Setting

std::string personalBestKey(GameMode mode, int levelId) {
    return "_ " + std::to_string(mode) + " " + std::to_string(levelId);
}
