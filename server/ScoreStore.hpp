#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "online/HighscoreRequest.hpp"

// One player's place in a level's table.
struct BestTime {
    std::string name;
    float seconds = 0;
    // UTC day the time arrived, "YYYY-MM-DD".
    std::string day;
    // The time was proven by a replayed run: in the normal table, the best
    // time equals the player's best verified time; in the verified table,
    // always.
    bool verified = false;
};

// The highscore tables: per mode, level and name the best time and, apart
// from it, the best verified time with the text of its run. A verified time
// counts as a normal time too, so the best time is never slower than the best
// verified one. Equal times keep the order in which they arrived, also when
// several servers share one store.
//
// Every write is one transaction: a submission that has been answered is
// stored whole or not at all. All calls may come from any thread.
class ScoreStore {
  public:
    enum class SubmitOutcome { NewBest, Kept, Failed };

    virtual ~ScoreStore() = default;

    // Whether any table holds the name (byte-wise); empty when the store
    // cannot be read.
    virtual std::optional<bool> nameTaken(const std::string& name) = 0;
    // Keeps the time when it is the name's first on that level or faster than
    // its best; an equal or slower time changes nothing.
    virtual SubmitOutcome submit(const SubmissionRequest& submission, const std::string& day) = 0;
    // A time the server has replayed: kept as a normal submission, and as the
    // verified best with `runText` when faster than the name's verified best.
    // NewBest when either best changed.
    virtual SubmitOutcome submitVerified(const SubmissionRequest& submission,
                                         const std::string& runText, const std::string& day) = 0;
    // The level's table, fastest first, equal times in order of arrival, at
    // most `limit` records; with `verifiedOnly` the table of best verified
    // times. Empty when the store cannot be read.
    virtual std::optional<std::vector<BestTime>> table(int mode, int levelId, std::size_t limit,
                                                       bool verifiedOnly = false) = 0;
    // The run text of the verified table's record at `position` (from 1); ""
    // when there is no such record, empty when the store cannot be read.
    virtual std::optional<std::string> verifiedRun(int mode, int levelId, std::size_t position) = 0;
    // Whether the store answers a trivial query now.
    virtual bool ping() = 0;
    // The reason of the last failure, for the log.
    virtual std::string lastError() = 0;
};

// "postgresql://" and "postgres://" name a PostgreSQL database (libpq's URI
// form); anything else is the path of a SQLite file.
bool isPostgresLocation(const std::string& location);

// Opens the store at `location`, creating or upgrading its tables; empty with
// the reason in `error` when that fails or the store was written by a newer
// server.
std::unique_ptr<ScoreStore> openScoreStore(const std::string& location, std::string& error);
