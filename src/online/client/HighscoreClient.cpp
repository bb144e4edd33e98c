#include "online/client/HighscoreClient.hpp"

#include "online/HighscoreProtocol.hpp"

HighscoreClient::HighscoreClient(std::string_view address, sf::Time timeout)
    : address(parseServerAddress(address)), timeout(timeout) {}

TableAnswer tableAnswerOf(const HttpAnswer& answer, const LevelIdentity& level) {
    if (!answer.complete) {
        return TableAnswer::table;
    }
    const std::string_view body = answer.body;
    if (answer.status == HighscoreProtocol::kNotOnServerStatus &&
        body.starts_with(HighscoreProtocol::kLevelNotOnServer)) {
        return TableAnswer::notOnServer;
    }
    const bool refused =
        answer.status == 400 && body.starts_with(HighscoreProtocol::kRefusalPrefix);
    return refused && !level.isShipped() ? TableAnswer::notOnServer : TableAnswer::table;
}

bool nameCheckAnswerSaysFree(std::string_view answerBody) {
    return answerBody.substr(0, 2) == "OK";
}

bool HighscoreClient::checkName(const std::string& name) const {
    return nameCheckAnswerSaysFree(
        post(HighscoreProtocol::kNameCheckPath, HighscoreProtocol::nameCheckBody(name)));
}

void HighscoreClient::submitScore(const std::string& name, int mode, const LevelIdentity& level,
                                  const std::string& scoreText) const {
    post(HighscoreProtocol::kSubmitPath,
         HighscoreProtocol::submissionBody(name, mode, level, scoreText));
}

std::string HighscoreClient::fetchRun(int mode, const LevelIdentity& level, int position) const {
    return post(HighscoreProtocol::kRunFetchPath,
                HighscoreProtocol::runQueryBody(mode, level, position));
}

TableAnswer HighscoreClient::fetchTable(int mode, const LevelIdentity& level,
                                        HighscoreTable& table) const {
    const HttpAnswer answer = answerTo(HighscoreProtocol::kTablePath,
                                           HighscoreProtocol::tableQueryBody(mode, level), timeout);
    const TableAnswer outcome = tableAnswerOf(answer, level);
    if (outcome == TableAnswer::table && answer.complete) {
        splitTokens(answer.body, "\n\t", table.tokens);
    }
    return outcome;
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
