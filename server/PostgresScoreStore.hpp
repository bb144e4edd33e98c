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
                                 const std::string& day) override;
    std::optional<std::vector<BestTime>> table(int mode, int levelId, std::size_t limit,
                                               bool verifiedOnly) override;
    std::optional<std::string> verifiedRun(int mode, int levelId, std::size_t position) override;
    bool ping() override;
    std::string lastError() override;

    // Fills an empty board with `records` in one transaction, keeping their
    // times, days and order of arrival; later submissions arrive after all of
    // them. A board that holds any record is left as it is.
    CopyOutcome copyIn(const std::vector<StoredRecord>& records);

  private:
    explicit PostgresScoreStore(const std::string& uri);

    bool upgrade(std::string& error);
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

    PostgresConnections connections;
    std::mutex failureMutex;
    std::string lastFailure;
};
