#pragma once

#include <memory>
#include <mutex>

#include "PostgresConnections.hpp"
#include "ScoreStore.hpp"
#include "StoredRecord.hpp"

// The highscore tables in a PostgreSQL database, for several servers (on
// several machines) that share one board. Equal times are ordered by a
// sequence of the database, so the order of arrival holds across servers.
class PostgresScoreStore : public ScoreStore {
  public:
    enum class CopyOutcome { Copied, TargetNotEmpty, Failed };

    // Connects to the database named by a libpq URI, creating or upgrading
    // the tables in one transaction.
    static std::unique_ptr<PostgresScoreStore> open(const std::string& uri, std::string& error);

    std::optional<bool> nameTaken(const std::string& name) override;
    SubmitOutcome submit(const SubmissionRequest& submission, const std::string& day) override;
    SubmitOutcome submitVerified(const SubmissionRequest& submission, const std::string& runText,
                                 const std::string& runSha256, const std::string& day) override;
    std::optional<std::vector<BestTime>> table(int mode, int levelId, std::size_t limit,
                                               bool verifiedOnly) override;
    std::optional<std::string> verifiedRun(int mode, int levelId, std::size_t position) override;
    std::optional<std::vector<int>> customLevelKeys(
        const std::vector<std::string>& sha256s) override;
    std::optional<VerifiedBest> verifiedBest(int mode, int levelId,
                                             const std::string& name) override;
    bool heartbeat(const std::string& server) override;
    std::string lastError() override;

    // The queue of runs (PostgresRunQueue.cpp).
    QueueAnswer queueRun(const PendingRun& run, const QueueCaps& caps) override;
    std::optional<PendingRun> takeRun(const RunLease& lease, const RunChooser& choose) override;
    bool renewRuns(const std::string& owner, const std::vector<std::int64_t>& ids,
                   std::int64_t until) override;
    bool releaseRuns(const std::string& owner) override;
    VerdictOutcome recordVerdict(const PendingRun& run, const std::string& owner,
                                 std::optional<float> verifiedSeconds,
                                 const std::string& route) override;
    std::optional<std::size_t> pendingCount() override;
    std::optional<std::vector<BoardRun>> runsWithoutIdentity() override;
    bool setRunIdentity(const BoardRun& run) override;

    // Fills an empty board with `records` and the identities of the runs that
    // were on it in one transaction, keeping their times, days and order of
    // arrival; later submissions arrive after all of them. A board that holds
    // any record is left as it is.
    CopyOutcome copyIn(const std::vector<StoredRecord>& records,
                       const std::vector<BoardRun>& boardRuns);

  private:
    explicit PostgresScoreStore(const std::string& uri);

    bool upgrade(std::string& error);
    // The steps of a verified submission inside an open transaction; false
    // with the failed statement in `result`.
    bool stepVerified(PGconn* connection, const SubmissionRequest& submission,
                      const std::string& runText, const std::string& runSha256,
                      const std::string& route, const std::string& day, PgResult& result,
                      bool& changed);
    // Notes the run of this identity as the name's, unless it is known.
    static PgResult noteBoardRun(PGconn* connection, const std::string& sha256, int mode,
                                 int levelId, const std::string& name);
    // The name whose board holds the run of this identity, "" when none; empty
    // with the failure in `result`.
    static std::optional<std::string> boardRunOwner(PGconn* connection, const std::string& sha256,
                                                    PgResult& result);
    // Which cap, if any, the run would break; empty with the failure in
    // `result`.
    static std::optional<QueueOutcome> capReached(PGconn* connection, const PendingRun& run,
                                                  const QueueCaps& caps, PgResult& result);
    // Runs `work` (one transaction) on a borrowed connection. A connection
    // that broke since its last use (the database restarted, the network
    // dropped it) only shows when a statement fails on it; the work then runs
    // once more on a fresh one. That is safe: an unfinished transaction left
    // nothing, and a write whose commit did arrive finds it done and keeps it.
    // A database that cannot be reached at all fails the call at once.
    template <typename Work>
    auto withConnection(Work work);
    // Notes the reason for the log; returns `result` for a short exit.
    template <typename Result>
    Result fail(PGconn* connection, const PgResult& failed, Result result);
    // As fail(), after rolling the open transaction back.
    template <typename Result>
    Result rollBack(PGconn* connection, const PgResult& failed, Result result);

    PostgresConnections connections;
    std::mutex failureMutex;
    std::string lastFailure;
};

template <typename Result>
Result PostgresScoreStore::fail(PGconn* connection, const PgResult& failed, Result result) {
    std::string reason = failureText(connection, failed);
    std::lock_guard lock(failureMutex);
    lastFailure = std::move(reason);
    return result;
}

template <typename Result>
Result PostgresScoreStore::rollBack(PGconn* connection, const PgResult& failed, Result result) {
    fail(connection, failed, result);
    runScript(connection, "ROLLBACK");
    return result;
}

template <typename Work>
auto PostgresScoreStore::withConnection(Work work) {
    auto lease = connections.borrow();
    const bool wasUp = PQstatus(lease.get()) == CONNECTION_OK;
    auto outcome = work(lease.get());
    if (wasUp && PQstatus(lease.get()) == CONNECTION_BAD) {
        PQreset(lease.get());
        outcome = work(lease.get());
    }
    return outcome;
}
