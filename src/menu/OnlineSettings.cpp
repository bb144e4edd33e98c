#include "menu/OnlineSettings.hpp"

#include "app/ProgramObjects.hpp"

namespace {

constexpr const char* addressKey = "highscoreserver";
constexpr const char* localServer = "localhost:8077";
constexpr const char* userNameKey = "username";

}  // namespace

std::string highscoreServerAddress() {
    if (!settings().contains(addressKey)) {
        return localServer;
    }
    const std::string& stored = settings().getString(addressKey);
    return stored.empty() ? std::string(localServer) : stored;
}

std::string storedUserName() {
    return settings().contains(userNameKey) ? settings().getString(userNameKey) : std::string();
}
