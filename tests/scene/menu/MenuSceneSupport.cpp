#include "MenuSceneSupport.hpp"

#include "online/client/HighscoreClient.hpp"
#include "sim/run/ScoreText.hpp"

HighscoreServer::HighscoreServer() : process(folder.file("scores.db"), folder.file("server.log")) {
    started = !ServerProcess::binaryPath().empty() && process.start();
}

void HighscoreServer::submit(const std::string& name, int mode, int levelId, float seconds) const {
    HighscoreClient(address()).submitScore(name, mode, levelId, encodeTime(seconds));
}
