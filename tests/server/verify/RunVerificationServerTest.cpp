#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "RunServerTest.hpp"
#include "TempFolder.hpp"
#include "TestRuns.hpp"
#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "sim/base/PlainDecimal.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/ScoreText.hpp"

// Submitted runs replayed by the real server: what verifies is kept and shown
// as verified, copies of a record's run never rank above it, everything else
// is refused and changes nothing.

using namespace HighscoreProtocol;

namespace {

const std::string kLabyrinthRun = slurpFile(kCommittedRuns[0].file);

std::string runBody(const std::string& run, int level = 250, int extraMs = 0) {
    return runSubmission("bot", level < 1000 ? 1 : 2, level, run,
                         recordedMs(kLabyrinthRun) + extraMs);
}

std::string withFrameTime(const std::string& run, const std::string& time) {
    return std::regex_replace(run, std::regex("\n(\\d+) \\S+"), "\n$1 " + time);
}

// One frame more after the one that finishes.
std::string withFrameAfterFinish(const std::string& run) {
    const std::regex frames("frames: (\\d+)");
    std::smatch count;
    std::regex_search(run, count, frames);
    return std::regex_replace(run, frames, "frames: " + std::to_string(std::stoll(count[1]) + 1)) +
           "1 17\n";
}

using RunVerificationServer = RunServerTest;

}  // namespace

// Refused runs change nothing. Every committed run verifies and comes back
// as committed. A record's run in other hands: fetched and posted again under
// another name, at a sharper claimed time, or with its comments, level name
// and time-ms changed, it is refused and the tables stay as they were.
// Changed in a key that alters nothing, it is another run that replays alike:
// kept at the replayed time, which ties with its owner's and so ranks behind
// it.
TEST_P(RunVerificationServer, RefusedRunsChangeNothingCommittedOnesVerifyAndCopiesNeverRankAbove) {
    // A data folder whose Labyrinth differs from the committed one by a byte.
    const std::filesystem::path edited = folder.path() / "data";
    std::filesystem::copy("data", edited, std::filesystem::copy_options::recursive);
    const std::string levelFile = (edited / "levels/TheLabyrinth.tmx").string();
    writeFileBytes(levelFile, slurpFile(levelFile) + " ");
    ServerProcess editedServer{folder.file("edited.db"), folder.file("edited.log")};
    {
        ScopedDataFolder data(edited);
        ASSERT_TRUE(editedServer.start()) << editedServer.log();
    }
    start();
    post(kSubmitPath, submissionBody("plain", 1, 250, encodeTime(99)));
    const std::string& run = kLabyrinthRun;
    // Turn speeds no game can set: the world turned that fast makes gravity
    // NaN, and a NaN world once "touched" the finish or kept a replay thread
    // in the physics for hours.
    const std::string tooFast = "3e38 3e38 3e38";
    const std::pair<const char*, std::string> refusals[] = {
        {"does not reproduce", runBody(run, 250, 1)},
        {"does not reproduce", runBody(run, 250, -1)},
        {"another level", runBody(run, 275)},
        {"do not add up", runBody(run.substr(0, run.rfind('\n', run.size() / 2) + 1))},
        {"frame time", runBody(withFrameTime(run, "nan"))},
        {"frame time", runBody(withFrameTime(run, "0.26"))},
        {"frames must be", runBody(neverFinishingRun(run, 10000000))},
        {"does not finish by its claimed time",
         runBody(std::regex_replace(run, std::regex("(\n\\d+ \\S+) .+"), "$1"))},
        {"never finishes",
         runBody(std::regex_replace(run, std::regex("(\n\\d+ \\S+) .+"), "$1"), 250, 900000)},
        {"not a recorded run", runBody(std::string("\x01\xff\x80 junk\0\n%&=", 13))},
        {"turn-speeds must be", runBody(withHeader(run, "turn-speeds", tooFast))},
        {"turn-speeds must be", runSubmission("bot", withHeader(slurpFile(kCommittedRuns[3].file),
                                                                "turn-speeds", tooFast))},
        {"goes on after its finish", runBody(withFrameAfterFinish(run))},
        {"empty run", runBody("")},
        // Bytes that are no text in the level's name are refused before
        // anything is stored.
        {"level must be at most 200 printable characters",
         runBody(withHeader(run, "level", "The Labyrinth " + std::string("\0\xff\xfe", 3)))},
    };
    std::string before = tables();
    for (const auto& [reason, body] : refusals) {
        const auto answer = verdictOf(body);
        EXPECT_EQ(answer.status, 400) << reason;
        EXPECT_TRUE(answer.body.starts_with("ERROR ")) << answer.body;
        EXPECT_NE(answer.body.find(reason), std::string::npos) << answer.body;
    }
    const auto onEdited =
        answerTo(editedServer.listeningPort(), httpRequest("POST", kRunPath, runBody(run), false));
    EXPECT_NE(onEdited.body.find("another version of the level"), std::string::npos);
    EXPECT_EQ(tables(), before);

    std::vector<std::string> files;
    for (const CommittedRun& committed : kCommittedRuns) {
        files.push_back(committed.file);
    }
    // The Tour's levels, known by the SHA-256 of their files.
    for (const auto& tour : std::filesystem::directory_iterator("levels/packs/tour/runs")) {
        files.push_back(tour.path().string());
    }
    ASSERT_EQ(files.size(), 12u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string run = slurpFile(file);
        // A NUL and bytes that are not UTF-8 in a comment go with it: the run
        // is kept as the server writes runs, the committed file itself.
        const std::string commented = "# " + std::string("\0\xff\xfe", 3) + "\n" + run;
        EXPECT_EQ(verdictOf(runSubmission("bot", commented)).body, "OK verified\n");
        const std::string where = tableQueryBody(modeOfRun(run), levelOfRun(run));
        EXPECT_TRUE(std::regex_search(post(kTablePath, where).body,
                                      std::regex("^1\t\\d{4}-\\d\\d-\\d\\d replay\tbot\t")));
        EXPECT_EQ(post(kRunFetchPath, where + "&position=1").body, run);
    }
    // An unverified record has no run to give.
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=250&position=2").body, "");
    EXPECT_EQ(post(kRunFetchPath, "mode=1&level=250&position=0").status, 400);

    const std::string where = tableQueryBody(1, 250);
    const std::string stolen = post(kRunFetchPath, where + "&position=1").body;
    before = tables();
    // 0.4 ms under the record's time: the same to the millisecond, and faster.
    const int recorded = recordedMs(run);
    const float sharperSeconds = (static_cast<float>(recorded) - 0.4f) / 1000.0f;
    const std::string sharper = submissionBody("thief", 1, 250, encodeTime(sharperSeconds));
    const std::string dressed =
        "# my own run\n" +
        withHeader(withHeader(run, "level", "Mine"), "time-ms", std::to_string(recorded - 1));
    const std::pair<const char*, std::string> copies[] = {
        {"at a sharper time", sharper + "&run=" + escapeFormValue(stolen)},
        {"under a second name", runSubmission("second", run)},
        {"with a comment, a level name and a time-ms of its own",
         sharper + "&run=" + escapeFormValue(dressed)},
    };
    for (const auto& [what, body] : copies) {
        const auto answer = verdictOf(body);
        EXPECT_EQ(answer.status, 400) << what;
        EXPECT_EQ(answer.body, "ERROR run already on the board\n") << what;
    }
    EXPECT_EQ(tables(), before);
    // The owner's own run sent again (a game whose answer got lost) is fine.
    EXPECT_EQ(verdictOf(runSubmission("bot", run)).body, "OK verified\n");
    EXPECT_EQ(tables(), before);

    // A key let go of that was never held: another run, replayed alike.
    const std::string altered = withHarmlessReleases(stolen, 1);
    ASSERT_NE(altered, stolen);
    EXPECT_EQ(verdictOf(sharper + "&run=" + escapeFormValue(altered)).body, "OK verified\n");
    // Kept at the replayed time, the owner's, not the claimed one.
    const std::string tied = "^1\t[^\t]*\tbot\t([^\n]*)\n2\t[^\t]*\tthief\t\\1\n";
    const std::string table = post(kTablePath, where).body;
    std::smatch rows;
    EXPECT_TRUE(std::regex_search(table, rows, std::regex(tied + "3\t[^\t]*\tplain\t99\n$")))
        << table;
    EXPECT_NE(rows.str(1), plainDecimal(sharperSeconds));

    // Restarted to show verified times only: the replayed times, as the game
    // writes a time, and no other.
    ASSERT_EQ(server.stop(), 0);
    start({"--verified-only"});
    const std::string verified = post(kTablePath, where).body;
    ASSERT_TRUE(std::regex_search(verified, rows, std::regex(tied + "$"))) << verified;
    EXPECT_EQ(raceMilliseconds(std::stof(rows.str(1))), recorded);
    const std::string page = get("/table/1/250").body;
    EXPECT_NE(page.find("&#10003;</td>"), std::string::npos) << page;
    EXPECT_EQ(page.find("plain"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Stores, RunVerificationServer, bothBackends(), backendName);
