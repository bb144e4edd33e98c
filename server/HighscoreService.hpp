#pragma once

#include <string_view>

#include "HttpMessage.hpp"
#include "ScoreStore.hpp"

// The game's three paths: the name check answers "OK" or "TAKEN", a
// submission "OK", a table fetch one line per record. A request that is not a
// POST, or whose body breaks any rule, gets status 400 with a line
// "ERROR reason" and changes nothing.
class HighscoreService {
  public:
    // Longest table sent; a name further down is not found by the game.
    static constexpr int kMaxTableRecords = 5000;

    explicit HighscoreService(ScoreStore& store) : store(store) {}

    static bool serves(std::string_view path);
    HttpResponse handle(const HttpRequest& request);

  private:
    HttpResponse checkName(const std::string& body);
    HttpResponse submit(const std::string& body);
    HttpResponse sendTable(const std::string& body);

    ScoreStore& store;
};
