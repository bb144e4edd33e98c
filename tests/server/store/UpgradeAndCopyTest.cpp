#include <gtest/gtest.h>

#include <filesystem>

#include "LoopbackClient.hpp"
#include "ServerProcess.hpp"
#include "StoreFixtures.hpp"
#include "TestRuns.hpp"
#include "online/HighscoreProtocol.hpp"

// Boards written by older servers are upgraded without loss, those of newer
// ones are left alone, and a SQLite board moves to PostgreSQL with
// --import-sqlite.

// A board of version 1 (with no version table, as the first servers wrote
// it, or with one) or 2: the server upgrades it, and a run verified before
// identities gets its own, so that its copies are refused. A new equal time
// arrives after the old ones, and may be verified.
TEST(StoreUpgrade, OlderFilesKeepEveryRecordAndTheirOrderAndVerifiedRunsGetIdentities) {
    // cy's Labyrinth run, verified by a version 2 server and stored as sent;
    // cy's best since is faster, and unverified.
    const std::string run = slurpFile(kCommittedRuns[0].file);
    ASSERT_FALSE(run.empty());
    const std::string seconds = std::to_string(recordedMs(run) / 1000.0);
    const std::string version = "CREATE TABLE schema_version (version INTEGER NOT NULL);";
    const std::string oldFiles[] = {
        "",
        version + "INSERT INTO schema_version VALUES (1);",
        version +
            "INSERT INTO schema_version VALUES (2); PRAGMA user_version = 2;"
            "ALTER TABLE best_times ADD COLUMN verified_seconds REAL;"
            "ALTER TABLE best_times ADD COLUMN verified_arrival INTEGER;"
            "ALTER TABLE best_times ADD COLUMN verified_day TEXT;"
            "ALTER TABLE best_times ADD COLUMN verified_run TEXT;"
            "UPDATE best_times SET verified_seconds = " +
            seconds + ", verified_arrival = 10, verified_day = '2024-02-04', verified_run = '" +
            run + "' WHERE name = 'cy';",
    };
    for (const std::string& extraSql : oldFiles) {
        SCOPED_TRACE(extraSql.substr(0, 80));
        TempFolder folder;
        const std::string path = folder.file("old.db");
        ASSERT_TRUE(writeVersion1File(path, extraSql));
        ServerProcess server(path, folder.file("server.log"));
        ASSERT_TRUE(server.start()) << server.log();
        const auto submit = [&](const std::string& name) {
            return answerTo(server.listeningPort(), httpRequest("POST", HighscoreProtocol::kRunPath,
                                                                runSubmission(name, run)))
                .body;
        };
        if (extraSql.find(run) != std::string::npos) {
            EXPECT_EQ(submit("thief"), "ERROR run already on the board\n");
            EXPECT_EQ(submit("cy"), "OK verified\n");
            EXPECT_NE(server.log().find("gave 1 verified runs"), std::string::npos) << server.log();
        }
        ASSERT_EQ(server.stop(), 0);
        EXPECT_EQ(rawQuery(Backend::Sqlite, path,
                           "SELECT version FROM schema_version; PRAGMA user_version"),
                  "4\n4\n");

        std::string error;
        const auto store = openScoreStore(path, error);
        ASSERT_TRUE(store) << error;
        store->submit({"dee", 1, 250, 20.5f}, "2024-06-01");
        store->submitVerified({"cy", 1, 250, 12.25f}, "run of cy", "id of cy", "2024-06-02");
        EXPECT_EQ(dumpBoard(*store),
                  "1/250 cy 12.25 2024-02-03 v\n"
                  "1/250 al 20.5 2024-01-02\n"
                  "1/250 bob 20.5 2024-01-01\n"
                  "1/250 dee 20.5 2024-06-01\n"
                  "verified 1/250 cy 12.25 2024-06-02 run of cy\n"
                  "2/20057 al 99.125 2023-12-31\n");
    }
}

TEST(StoreUpgrade, Version3BoardsOfBothStoresKeepTheirRecordsAndGainCustomLevelsNewerOnesAreLeft) {
    // What version 4 added, taken away again: a board as version 3 left it.
    const std::string toVersion3[] = {
        "DROP TABLE custom_levels; UPDATE schema_version SET version = 3; PRAGMA user_version = 3",
        "DROP TABLE custom_levels; DROP SEQUENCE custom_level_numbers;"
        "UPDATE schema_version SET version = 3"};
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        SCOPED_TRACE(::testing::PrintToString(backend));
        TempFolder folder;
        const std::string board = newBoard(backend, folder);
        ASSERT_FALSE(board.empty()) << testCluster().error();
        std::string error;
        std::string before;
        {
            auto store = openScoreStore(board, error);
            ASSERT_TRUE(store) << error;
            store->submit({"al", 1, 250, 20.5f}, "2024-01-01");
            store->submitVerified({"bob", 2, 20057, 40}, "run of bob", "id of bob", "2024-01-02");
            before = dumpBoard(*store);
        }
        ASSERT_TRUE(rawQuery(backend, board, toVersion3[backend == Backend::Postgres]));
        ASSERT_EQ(rawQuery(backend, board, "SELECT version FROM schema_version"), "3\n");

        {
            const auto store = openScoreStore(board, error);
            ASSERT_TRUE(store) << error;
            EXPECT_EQ(rawQuery(backend, board, "SELECT version FROM schema_version"), "4\n");
            EXPECT_EQ(dumpBoard(*store), before);
            EXPECT_EQ(store->customLevelKeys({std::string(64, 'a')}), std::vector<int>{-1});
        }

        // Tables of a newer server are refused and left alone.
        ASSERT_TRUE(rawQuery(backend, board, "UPDATE schema_version SET version = 5"));
        EXPECT_FALSE(openScoreStore(board, error));
        EXPECT_NE(error.find("newer server (schema version 5, this server knows up to 4)"),
                  std::string::npos)
            << error;
        EXPECT_EQ(rawQuery(backend, board, "SELECT version FROM schema_version"), "5\n");
    }
}

TEST(BoardImport, CopiesASqliteBoardIntoAnEmptyPostgresBoardOnceAndRefusesWhatIsNoBoard) {
    // Two custom levels; the target numbers them otherwise before the copy.
    const std::vector<std::string> custom = {std::string(64, 'a'), std::string(64, 'b')};
    TempFolder folder;
    const std::string output = folder.file("import.txt");
    // A board of the first servers, and one with verified times.
    const std::string oldFile = folder.file("old.db");
    ASSERT_TRUE(writeVersion1File(oldFile));
    const std::string newFile = folder.file("new.db");
    {
        std::string error;
        auto source = openScoreStore(newFile, error);
        ASSERT_TRUE(source) << error;
        source->submit({"bob", 1, 275, 30}, "2024-01-01");
        source->submitVerified({"al", 1, 275, 30}, "run of al", "id of al", "2024-01-02");
        source->submitVerified({"cy", 1, 275, 31}, "run of cy", "id of cy", "2024-01-03");
        source->submit({"cy", 1, 275, 29.5f}, "2024-01-04");
        source->submitVerified({"bob", 2, 20000, 45.25f}, "run of bob", "id of bob", "2024-01-05");
        const auto keys = source->customLevelKeys(custom);
        ASSERT_TRUE(keys);
        source->submit({"dee", 1, keys->at(0), 8}, "2024-01-06");
        source->submitVerified({"al", 1, keys->at(1), 9}, "run on b", "id on b", "2024-01-07");
    }
    // A route kept with a verified run comes over with it, byte for byte.
    ASSERT_TRUE(rawQuery(Backend::Sqlite, newFile,
                         "UPDATE best_times SET verified_route = X'0100ff80' WHERE name = 'al'"));

    for (const std::string& sqliteFile : {oldFile, newFile}) {
        // The board must show what the server shows for the file, as read
        // from an upgraded copy, and go on as that copy does.
        const std::string copy = folder.file("copy.db");
        std::filesystem::copy_file(sqliteFile, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        std::string error;
        auto upgraded = openScoreStore(copy, error);
        ASSERT_TRUE(upgraded) << error;
        const std::string sourceBytes = slurpFile(sqliteFile);

        const std::string target = testCluster().createDatabase();
        ASSERT_FALSE(target.empty()) << testCluster().error();
        {
            auto early = openScoreStore(target, error);
            ASSERT_TRUE(early) << error;
            ASSERT_EQ(early->customLevelKeys({custom[1]}), std::vector<int>{-1});
        }
        ASSERT_EQ(ServerProcess::runToEnd({"--db", target, "--import-sqlite", sqliteFile}, output),
                  0)
            << slurpFile(output);
        EXPECT_NE(slurpFile(output).find("copied"), std::string::npos);
        EXPECT_EQ(slurpFile(sqliteFile), sourceBytes) << "the source is only read";

        auto board = openScoreStore(target, error);
        ASSERT_TRUE(board) << error;
        EXPECT_EQ(dumpBoard(*board, custom), dumpBoard(*upgraded, custom)) << sqliteFile;
        EXPECT_EQ(dumpBoard(*board, custom).find(" route 4 bytes") != std::string::npos,
                  sqliteFile == newFile);
        const std::string identities = "SELECT sha256, name FROM board_runs ORDER BY sha256";
        EXPECT_EQ(rawQuery(Backend::Postgres, target, identities),
                  rawQuery(Backend::Sqlite, copy, identities))
            << sqliteFile;
        // A run on a custom level is known by that level's hash, whatever its key.
        const std::string customRuns =
            "SELECT r.sha256, c.sha256 FROM board_runs r JOIN custom_levels c ON c.level = r.level";
        EXPECT_EQ(rawQuery(Backend::Postgres, target, customRuns),
                  rawQuery(Backend::Sqlite, copy, customRuns))
            << sqliteFile;
        // Equal times that come later go after the copied ones.
        for (ScoreStore* store : {board.get(), upgraded.get()}) {
            store->submit({"zed", 1, 250, 20.5f}, "2024-07-01");
            store->submitVerified({"zed", 1, 275, 30}, "run of zed", "id of zed", "2024-07-01");
        }
        const std::string withZed = dumpBoard(*board);
        EXPECT_EQ(withZed, dumpBoard(*upgraded)) << sqliteFile;

        // A second run refuses, whatever the board holds now.
        EXPECT_EQ(ServerProcess::runToEnd({"--db", target, "--import-sqlite", sqliteFile}, output),
                  1);
        EXPECT_NE(slurpFile(output).find("already holds records"), std::string::npos);
        EXPECT_EQ(dumpBoard(*board), withZed);
    }

    // What is no board is refused before any database is reached.
    writeFileBytes(folder.file("text.db"), "not a database, just text\n");
    for (const char* source : {"missing.db", "text.db"}) {
        EXPECT_EQ(ServerProcess::runToEnd(
                      {"--db", "postgresql://nobody@/none", "--import-sqlite", folder.file(source)},
                      output),
                  1);
        EXPECT_NE(slurpFile(output).find("cannot read"), std::string::npos) << slurpFile(output);
    }
}
