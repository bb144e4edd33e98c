#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "online/HighscoreRequest.hpp"

struct sqlite3;

// One player's best time on one level.
struct BestTime {
    std::string name;
    float seconds = 0;
    // UTC day the time arrived, "YYYY-MM-DD".
    std::string day;
};

// The highscore tables in one SQLite file: the best time per mode, level and
// name. The file runs in WAL mode with full synchronisation, so a submission
// that has been answered survives a crash of the server or the machine.
// All calls may come from any thread; they take turns.
class ScoreStore {
  public:
    enum class SubmitOutcome { NewBest, Kept, Failed };

    ScoreStore() = default;
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    // Opens or creates the file; false with the reason in `error`.
    bool open(const std::string& path, std::string& error);

    // Whether any table holds the name (byte-wise); empty when the file
    // cannot be read.
    std::optional<bool> nameTaken(const std::string& name);
    // Keeps the time when it is the name's first on that level or faster than
    // its best; an equal or slower time changes nothing.
    SubmitOutcome submit(const SubmissionRequest& submission, const std::string& day);
    // The level's table, fastest first, equal times in order of arrival, at most
    // `limit` records; empty when the file cannot be read.
    std::optional<std::vector<BestTime>> table(int mode, int levelId, std::size_t limit);

    // Whether the database answers a trivial query, for health checks.
    bool ping();

    // The last error SQLite reported, for the log.
    std::string lastError();

  private:
    bool execute(const char* sql);

    std::mutex mutex;
    sqlite3* db = nullptr;
};
