#pragma once

#include <SFML/System/Time.hpp>
#include <string>
#include <string_view>

#include "online/HighscoreTable.hpp"
#include "online/client/HttpExchange.hpp"

// The game's side of the highscore server. Each operation is one blocking
// HTTP/1.0 POST that ends, answered or not, within the time-out (5 s by
// default): the calling screen shows its wait message first. A request that
// fails leaves an empty answer and nothing is retried or reported.
class HighscoreClient {
  public:
    static constexpr float kDefaultTimeoutSeconds = 5.0f;

    // `address` is "host" (port 80) or "host:port"; an unusable address makes
    // every request fail at once.
    explicit HighscoreClient(std::string_view address,
                             sf::Time timeout = sf::seconds(kDefaultTimeoutSeconds));

    // True when the server says no table holds the name yet. Any other answer,
    // none included, counts as taken.
    bool checkName(const std::string& name) const;
    // Sends a finished time; the answer is not looked at.
    void submitScore(const std::string& name, int mode, int levelId,
                     const std::string& scoreText) const;
    // The run text the server keeps for the table position (1: the record);
    // empty when there is none or no answer came.
    std::string fetchRun(int mode, int levelId, int position) const;
    // Appends the level's table to `table` (the caller clears it first). A
    // failed fetch appends nothing.
    void fetchTable(int mode, int levelId, HighscoreTable& table) const;

    // The body of the server's answer to one POST, whatever its status; empty
    // when no complete answer arrived in time.
    std::string post(std::string_view path, std::string_view body) const;
    std::string post(std::string_view path, std::string_view body, sf::Time limit) const;
    // The whole answer to one POST, status included.
    HttpAnswer answerTo(std::string_view path, std::string_view body, sf::Time limit) const;

    sf::Time timeLimit() const { return timeout; }

  private:
    ServerAddress address;
    sf::Time timeout;
};

// The name check's rule: free exactly when the answer starts with "OK".
bool nameCheckAnswerSaysFree(std::string_view answerBody);
