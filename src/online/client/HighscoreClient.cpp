#include "online/client/HighscoreClient.hpp"

#include "online/HighscoreProtocol.hpp"

HighscoreClient::HighscoreClient(std::string_view address, sf::Time timeout)
    : address(parseServerAddress(address)), timeout(timeout) {}

bool nameCheckAnswerSaysFree(std::string_view answerBody) {
    return answerBody.substr(0, 2) == "OK";
}

bool HighscoreClient::checkName(const std::string& name) const {
    return nameCheckAnswerSaysFree(
        post(HighscoreProtocol::kNameCheckPath, HighscoreProtocol::nameCheckBody(name)));
}

void HighscoreClient::submitScore(const std::string& name, int mode, int levelId,
                                  const std::string& scoreText) const {
    post(HighscoreProtocol::kSubmitPath,
         HighscoreProtocol::submissionBody(name, mode, levelId, scoreText));
}

std::string HighscoreClient::fetchRun(int mode, int levelId, int position) const {
    return post(HighscoreProtocol::kRunFetchPath,
                HighscoreProtocol::runQueryBody(mode, levelId, position));
}

void HighscoreClient::fetchTable(int mode, int levelId, HighscoreTable& table) const {
    const std::string body =
        post(HighscoreProtocol::kTablePath, HighscoreProtocol::tableQueryBody(mode, levelId));
    splitTokens(body, "\n\t", table.tokens);
}

std::string HighscoreClient::post(std::string_view path, std::string_view body) const {
    return post(path, body, timeout);
}

std::string HighscoreClient::post(std::string_view path, std::string_view body,
                                  sf::Time limit) const {
    const HttpAnswer answer = answerTo(path, body, limit);
    return answer.complete ? answer.body : std::string();
}

HttpAnswer HighscoreClient::answerTo(std::string_view path, std::string_view body,
                                     sf::Time limit) const {
    return exchange(address, buildPostRequest(address, path, body), limit);
}
