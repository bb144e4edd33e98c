#pragma once

#include <SFML/System/Time.hpp>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class HighscoreClient;

// What one sending of the outbox came to.
struct OutboxSending {
    // Taken by the server ("OK ..."), or refused by it (a 4xx answer): gone
    // from the outbox either way.
    int taken = 0;
    int refused = 0;
    // Still waiting for a server that answers.
    int waiting = 0;
};

// Requests to the highscore server (a time, a run) that it has not taken yet:
// one file each in $XDG_DATA_HOME/rollavortex/outbox, written whole or not at
// all, so a crash or kill -9 at any moment leaves each either there or not.
// They are sent oldest first until the server gives its verdict: an answer
// starting with "OK" takes one, a refusal (4xx, but not "try later": 408,
// 429) drops it with one line on standard error. No answer, a time-out, 5xx
// or "busy" leave it and everything after it for the next sending.
class Outbox {
  public:
    // Requests kept at most: a server gone for good must not fill the disk.
    // Beyond it the oldest goes, with a line on standard error.
    static constexpr std::size_t maxWaiting = 1000;

    static std::filesystem::path defaultFolder();

    explicit Outbox(std::filesystem::path folder = defaultFolder());

    // Keeps a request to send; false when it could not be written (no
    // folder for it, a full disk).
    bool keep(std::string_view path, std::string_view body);
    // Sends the waiting requests, oldest first, all within `limit`. Only one
    // sending at a time goes through the outbox, in this process or another:
    // a second one waits for the first within its own limit, and then finds
    // what is left.
    OutboxSending sendWaiting(const HighscoreClient& client, sf::Time limit) const;
    std::size_t waitingCount() const;

  private:
    // The request files, oldest first.
    std::vector<std::filesystem::path> entries() const;

    std::filesystem::path folder;
    unsigned kept = 0;
};
