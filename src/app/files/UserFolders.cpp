#include "app/files/UserFolders.hpp"

#include <cstdlib>

namespace {

std::filesystem::path absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

}  // namespace

std::filesystem::path userDataFolder() {
    std::filesystem::path data = absoluteFromEnvironment("XDG_DATA_HOME");
    if (data.empty()) {
        const std::filesystem::path home = absoluteFromEnvironment("HOME");
        if (home.empty()) {
            return {};
        }
        data = home / ".local" / "share";
    }
    return data / "rollavortex";
}

std::filesystem::path defaultCustomLevelFolder() {
    const std::filesystem::path data = userDataFolder();
    return data.empty() ? data : data / "levels";
}
