#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ScoreStore.hpp"

// What follows the day in the game's free-text column of a verified time.
inline constexpr std::string_view kVerifiedDayMark = " replay";

// One level's table as last read from the store.
struct CachedTable {
    // Fastest first, equal times in order of arrival, at most kMaxRecords.
    std::vector<BestTime> rows;
    // The answer to the game's table fetch: one line per record,
    // "position TAB day TAB name TAB seconds", the day followed by " replay"
    // when the time was proven by a replayed run.
    std::string gameAnswer;
};

// Tables read recently, so that the many fetches of a popular table do not
// each read the database and format 300 lines. A table is read again after a
// submission through this server changed it, and in any case once it is
// `maxAge` old: that bounds how long a change made through another server
// sharing the database stays unseen. All calls may come from any thread.
class TableCache {
  public:
    // Longest table kept and sent; a name further down is not found by the game.
    static constexpr std::size_t kMaxRecords = 5000;

    // `verifiedOnly`: the tables of verified times only.
    TableCache(ScoreStore& store, std::chrono::milliseconds maxAge, bool verifiedOnly = false);

    // The table, from memory when it is there and fresh, else from the store;
    // empty when the store cannot be read.
    std::shared_ptr<const CachedTable> table(int mode, int levelId);
    // The table only when it is in memory and fresh: no waiting for the store.
    std::shared_ptr<const CachedTable> tableInMemory(int mode, int levelId);
    // A submission through this server changed the level's table.
    void changed(int mode, int levelId);

  private:
    using Clock = std::chrono::steady_clock;
    using Key = std::pair<int, int>;
    struct Slot {
        std::shared_ptr<const CachedTable> table;
        Clock::time_point readAt;
        // Counts changes, so that a read that raced with a change is not kept.
        unsigned changes = 0;
    };

    ScoreStore& store;
    std::chrono::milliseconds maxAge;
    bool verifiedOnly;
    std::mutex mutex;
    std::map<Key, Slot> slots;
};
