#include "MenuSceneSupport.hpp"

#include "online/client/HighscoreClient.hpp"
#include "sim/run/ScoreText.hpp"

HighscoreServer::HighscoreServer() : process(folder.file("scores.db"), folder.file("server.log")) {
    started = !ServerProcess::binaryPath().empty() && process.start();
}

void HighscoreServer::submit(const std::string& name, int mode, int levelId, float seconds) const {
    HighscoreClient(address()).submitScore(name, mode, levelId, encodeTime(seconds));
}

std::string settingsText(const std::map<std::string, std::string>& values) {
    std::string text = "Rollavortex settings\n\n";
    for (const auto& [key, value] : values) {
        text += key + "\t" + value + "\n";
    }
    return text;
}
