#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>

#include "ScoreStore.hpp"
#include "StoredRecord.hpp"

struct sqlite3;

// The highscore tables in one SQLite file. The file runs in WAL mode with
// full synchronisation, so a submission that has been answered survives a
// crash of the server or the machine. Several servers on one machine may
// share the file; SQLite's lock makes their writes take turns, and equal
// times are ordered by a counter kept in the file.
//
// Every write first checks that the path still names the file that was
// opened: SQLite goes on writing into a file that was deleted or replaced,
// and all of it would be lost.
class SqliteScoreStore : public ScoreStore {
  public:
    // Opens or creates the file to serve from it, upgrading older tables in
    // one transaction.
    static std::unique_ptr<SqliteScoreStore> open(const std::string& path, std::string& error);
    // Opens an existing board only to read it, as it is: the source of a copy
    // is never upgraded or otherwise written.
    static std::unique_ptr<SqliteScoreStore> openToCopy(const std::string& path,
                                                        std::string& error);

    ~SqliteScoreStore() override;
    SqliteScoreStore(const SqliteScoreStore&) = delete;
    SqliteScoreStore& operator=(const SqliteScoreStore&) = delete;

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

    // The queue of runs (SqliteRunQueue.cpp).
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

    // Every record, earliest arrival first, and the identities of every run
    // that was on the board; empty when the file cannot be read.
    std::optional<std::vector<StoredRecord>> allRecords();
    std::optional<std::vector<BoardRun>> allBoardRuns();
    // The custom levels the board has keys for; none before version 4.
    std::optional<std::vector<CustomLevelKey>> allCustomLevels();

  private:
    SqliteScoreStore(sqlite3* db, std::string path) : db(db), path(std::move(path)) {}

    static std::unique_ptr<SqliteScoreStore> openFile(const std::string& path, int flags,
                                                      std::string& error);
    bool execute(const char* sql);
    bool inWalMode();
    std::optional<int> readVersion();
    bool upgrade(std::string& error);
    // Notes the file's identity, for fileIsOurs().
    bool noteFile();
    // False, with the reason noted, when the path no longer names the file
    // that was opened.
    bool fileIsOurs();
    // BEGIN IMMEDIATE once the file is known to be ours.
    bool beginWrite();
    bool stepSubmission(const SubmissionRequest& submission, const std::string& day, bool& changed);
    bool stepVerified(const SubmissionRequest& submission, const std::string& runText,
                      const std::string& runSha256, const std::string& route,
                      const std::string& day, bool& changed);
    // Notes the run of this identity as the name's, unless it is known.
    bool noteBoardRun(const std::string& sha256, int mode, int levelId, const std::string& name);
    // The name whose board holds the run of this identity; "" when none.
    std::optional<std::string> boardRunOwner(const std::string& sha256);
    // Which cap, if any, the run would break; empty when the store failed.
    std::optional<QueueOutcome> capReached(const PendingRun& run, const QueueCaps& caps);
    std::optional<std::vector<PendingRun>> takeCandidates(const RunLease& lease);
    // Notes SQLite's reason for the log.
    void noteFailure();
    // Notes the reason; returns `result` for a short exit.
    template <typename Result>
    Result fail(Result result) {
        noteFailure();
        return result;
    }
    // As fail(), after rolling the open transaction back.
    template <typename Result>
    Result rollBack(Result result) {
        noteFailure();
        execute("ROLLBACK");
        return result;
    }

    std::mutex mutex;
    sqlite3* db = nullptr;
    const std::string path;
    dev_t fileDevice = 0;
    ino_t fileInode = 0;
    int version = 0;
    std::string lastFailure;
};
