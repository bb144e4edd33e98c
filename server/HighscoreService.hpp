#pragma once

#include <string>

#include "ScoreStore.hpp"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// The three highscore paths on an HTTP server: the name check answers "OK" or
// "TAKEN", a submission "OK", a table fetch one line per record. A request that
// is not a POST, or whose body breaks any rule, gets status 400 with a line
// "ERROR reason" and changes nothing. Every request leaves one line on stderr.
class HighscoreService {
  public:
    // Longest table sent; a name further down is not found by the game.
    static constexpr int kMaxTableRecords = 5000;

    explicit HighscoreService(ScoreStore& store) : store(store) {}

    // Installs the handlers, the request size limit and the log on `server`.
    void attach(httplib::Server& server);

  private:
    void checkName(const httplib::Request& request, httplib::Response& response);
    void submit(const httplib::Request& request, httplib::Response& response);
    void sendTable(const httplib::Request& request, httplib::Response& response);

    ScoreStore& store;
};

// One line on stderr, prefixed with the UTC time; lines of several threads do
// not mix.
void logLine(const std::string& text);
