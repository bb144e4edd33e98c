#pragma once

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
                                 const std::string& day) override;
    std::optional<std::vector<BestTime>> table(int mode, int levelId, std::size_t limit,
                                               bool verifiedOnly) override;
    std::optional<std::string> verifiedRun(int mode, int levelId, std::size_t position) override;
    bool ping() override;
    std::string lastError() override;

    // Every record, earliest arrival first; empty when the file cannot be
    // read.
    std::optional<std::vector<StoredRecord>> allRecords();

  private:
    explicit SqliteScoreStore(sqlite3* db) : db(db) {}

    static std::unique_ptr<SqliteScoreStore> openFile(const std::string& path, int flags,
                                                      std::string& error);
    bool execute(const char* sql);
    bool inWalMode();
    std::optional<int> readVersion();
    bool upgrade(std::string& error);
    bool stepSubmission(const SubmissionRequest& submission, const std::string& day, bool& changed);
    bool stepVerified(const SubmissionRequest& submission, const std::string& runText,
                      const std::string& day, bool& changed);
    // Notes SQLite's reason for the log; returns `result` for a short exit.
    template <typename Result>
    Result fail(Result result);

    std::mutex mutex;
    sqlite3* db = nullptr;
    int version = 0;
    std::string lastFailure;
};
