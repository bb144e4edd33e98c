#pragma once

#include <optional>
#include <string_view>

#include "HttpMessage.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "TableCache.hpp"

// The game's three paths: the name check answers "OK" or "TAKEN", a
// submission "OK", a table fetch one line per record. A request that is not a
// POST, or whose body breaks any rule, gets status 400 with a line
// "ERROR reason" and changes nothing; one naming a custom level the server
// does not keep gets 404 "ERROR level not on this server".
class HighscoreService {
  public:
    HighscoreService(ScoreStore& store, TableCache& tables, const ServerLevels& levels)
        : store(store), tables(tables), levels(levels) {}

    static bool serves(std::string_view path);
    HttpResponse handle(const HttpRequest& request);
    // The answer to a table fetch whose table is in memory; empty for every
    // other request.
    std::optional<HttpResponse> answerAtOnce(const HttpRequest& request);

  private:
    HttpResponse checkName(const std::string& body);
    HttpResponse submit(const std::string& body);
    HttpResponse sendTable(const std::string& body);

    ScoreStore& store;
    TableCache& tables;
    const ServerLevels& levels;
};
