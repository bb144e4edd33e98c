#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PendingRun.hpp"
#include "StoredRecord.hpp"
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
// several servers share one store. Every run that has been a verified best
// keeps its identity (the SHA-256 of its canonical text) and its name: the
// same run is never on the board under two names.
//
// Beside the tables, the queue of submitted runs waiting for their verdict,
// which every server sharing the store takes work from: a server takes a run
// for a while (a lease it renews), so that each run is replayed by one server
// at a time, and one that was killed leaves its runs to the others or to its
// restart.
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
    // verified best with `runText` (whose SHA-256 is `runSha256`) when faster
    // than the name's verified best. NewBest when either best changed.
    virtual SubmitOutcome submitVerified(const SubmissionRequest& submission,
                                         const std::string& runText, const std::string& runSha256,
                                         const std::string& day) = 0;
    // The level's table, fastest first, equal times in order of arrival, at
    // most `limit` records; with `verifiedOnly` the table of best verified
    // times. Empty when the store cannot be read.
    virtual std::optional<std::vector<BestTime>> table(int mode, int levelId, std::size_t limit,
                                                       bool verifiedOnly = false) = 0;
    // The run text of the verified table's record at `position` (from 1); ""
    // when there is no such record, empty when the store cannot be read.
    virtual std::optional<std::string> verifiedRun(int mode, int levelId, std::size_t position) = 0;
    // The keys of the custom levels whose files have these SHA-256s, in the
    // same order, all in one transaction. A level's key is given the first
    // time any server asks for it and stays the same for every server sharing
    // the store; keys are negative, so never a shipped level's id. Empty when
    // the store failed.
    virtual std::optional<std::vector<int>> customLevelKeys(
        const std::vector<std::string>& sha256s) = 0;
    // The name's verified best on the level with its run and route; its run
    // is "" when the name has none, and it is empty when the store cannot be
    // read.
    virtual std::optional<VerifiedBest> verifiedBest(int mode, int levelId,
                                                     const std::string& name) = 0;
    // Whether a write goes through now (a heartbeat row is written), and,
    // for a file, whether it is still the file that was opened.
    virtual bool heartbeat(const std::string& server) = 0;
    // The reason of the last failure, for the log.
    virtual std::string lastError() = 0;

    // --- The queue of runs waiting for their verdict ---

    // Puts the run in the queue unless the caps are reached, all in one
    // transaction; the same run of the same name is not queued twice.
    virtual QueueAnswer queueRun(const PendingRun& run, const QueueCaps& caps) = 0;
    // Takes the run `choose` picks for `lease.owner`, and counts the take in
    // its attempts. Offered: runs nobody holds, whose lease has run out, or
    // that a process of this machine holds (lease.localPrefix). An id of 0
    // when none was taken; empty when the store failed.
    virtual std::optional<PendingRun> takeRun(const RunLease& lease, const RunChooser& choose) = 0;
    // The runs of these ids that the owner still holds are its own until
    // `until`.
    virtual bool renewRuns(const std::string& owner, const std::vector<std::int64_t>& ids,
                           std::int64_t until) = 0;
    // Lets go of every run the owner holds, for others to take at once.
    virtual bool releaseRuns(const std::string& owner) = 0;
    // The verdict of a run `owner` holds, in one transaction: it leaves the
    // queue and, when `verifiedSeconds` is given, the replayed time is kept
    // as a verified submission with the run and its `route` (a RouteBlob, ""
    // for none).
    virtual VerdictOutcome recordVerdict(const PendingRun& run, const std::string& owner,
                                         std::optional<float> verifiedSeconds,
                                         const std::string& route) = 0;
    // Runs waiting, in all.
    virtual std::optional<std::size_t> pendingCount() = 0;

    // Verified bests from before runs had identities: their run texts, to be
    // given theirs (setRunIdentity) by whoever can make a run canonical.
    virtual std::optional<std::vector<BoardRun>> runsWithoutIdentity() = 0;
    // Notes that `run.run` on the board has the identity `run.sha256`.
    virtual bool setRunIdentity(const BoardRun& run) = 0;
};

// "postgresql://" and "postgres://" name a PostgreSQL database (libpq's URI
// form); anything else is the path of a SQLite file.
bool isPostgresLocation(const std::string& location);

// Opens the store at `location`, creating or upgrading its tables; empty with
// the reason in `error` when that fails or the store was written by a newer
// server.
std::unique_ptr<ScoreStore> openScoreStore(const std::string& location, std::string& error);
