#include <gtest/gtest.h>

#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "sim/run/ScoreText.hpp"

using namespace HighscoreProtocol;

namespace {

const std::string kScore = encodeTime(12.5f);

// "reason|status" of a refusal.
template <typename Request>
std::string outcome(const Parsed<Request>& parsed) {
    return parsed.refusal + "|" + std::to_string(parsed.status);
}

}  // namespace

TEST(FormBody, EscapesOnlyWhatWouldChangeTheBodySplitsDecodesAndRefusesAmbiguity) {
    EXPECT_EQ(escapeFormValue("Mr. Fast, Jr 2"), "Mr. Fast, Jr 2");
    EXPECT_EQ(escapeFormValue("a&mode=2%"), "a%26mode%3D2%25");
    EXPECT_EQ(escapeFormValue("+/?#"), "+/?#");

    const auto fields = parseFormBody("&mode=2&level=20057");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->at("mode"), "2");
    EXPECT_EQ(fields->at("level"), "20057");

    const auto decoded = parseFormBody("name=a+b%20c%26d%3d&x=");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->at("name"), "a+b c&d=");
    EXPECT_EQ(decoded->at("x"), "");

    for (const char* bad :
         {"name=a&name=b", "name=a&%6eame=b", "name", "=x", "name=%4", "name=%zz", "name=abc%"}) {
        EXPECT_FALSE(parseFormBody(bad)) << bad;
    }
    EXPECT_TRUE(parseFormBody(""));
}

// A custom level is named by the hex digits of its hash.
TEST(RequestBodies, AreWhatTheServerExpectsAndAnEditedNameCannotInjectAField) {
    const std::string hash = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
    const LevelIdentity custom = LevelIdentity::ofFile(hash);
    const std::pair<std::string, std::string> rows[] = {
        {submissionBody("racer", 1, 250, kScore), "name=racer&mode=1&level=250&score=" + kScore},
        {tableQueryBody(2, 20057), "&mode=2&level=20057"},
        {nameCheckBody("Mr. X"), "name=Mr. X"},
        {runQueryBody(2, 20057, 1), "mode=2&level=20057&position=1"},
        {submissionBody("racer", 2, custom, kScore),
         "name=racer&mode=2&level=" + hash + "&score=" + kScore},
        {tableQueryBody(1, custom), "&mode=1&level=" + hash},
        {runQueryBody(1, custom, 1), "mode=1&level=" + hash + "&position=1"},
    };
    for (const auto& [body, expected] : rows) {
        EXPECT_EQ(body, expected);
    }
    const auto fields = parseFormBody(runBody("racer", 1, custom, kScore, "rollavortex-run 3\n"));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->at("level"), hash);

    const auto parsed = parseFormBody(submissionBody("x&mode=2&level=20000", 1, 250, kScore));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->at("name"), "x&mode=2&level=20000");
    EXPECT_EQ(parsed->at("mode"), "1");
    EXPECT_EQ(parsed->at("level"), "250");
}

TEST(SubmissionRequest, AcceptsWhatTheGameSendsAndRefusesEveryBrokenField) {
    const auto parsed = parseSubmissionRequest(submissionBody("Mr. Fast, Jr", 2, 20057, kScore));
    ASSERT_TRUE(parsed.request) << parsed.refusal;
    EXPECT_EQ(parsed.request->name, "Mr. Fast, Jr");
    EXPECT_EQ(parsed.request->mode, 2);
    EXPECT_EQ(parsed.request->levelId, 20057);
    EXPECT_FLOAT_EQ(parsed.request->seconds, 12.5f);
    // Escapes are decoded before the name is judged.
    EXPECT_TRUE(parseSubmissionRequest("name=a%20b&mode=1&level=275&score=" + kScore).request);

    const std::string tail = "&mode=1&level=250&score=" + kScore;
    const std::vector<std::string> bad = {
        "name=" + std::string(16, 'a') + tail,
        "name=" + tail,
        "name=a!b" + tail,
        "name=a%09b" + tail,
        "name=x%26mode%3D2" + tail,
        "name=a&mode=3&level=250&score=" + kScore,
        "name=a&mode=0&level=250&score=" + kScore,
        "name=a&mode=1&level=20000&score=" + kScore,
        "name=a&mode=01&level=250&score=" + kScore,
        "name=a&mode=+1&level=250&score=" + kScore,
        "name=a&mode=1&level=250x&score=" + kScore,
        "name=a&mode=1&level=250&score=",
        "name=a&mode=1&level=250&score=12.5",
        "name=a&mode=1&level=250&score=" + encodeTime(0.0f),
        "name=a&mode=1&level=250&score=" + encodeTime(1e6f),
        "name=a&mode=1&level=250",
        "mode=1&level=250&score=" + kScore,
        "name=z\xc3\xa4" + tail,
        "name=a&mode=1&level=250&score=" + kScore + "&extra=1",
        "name=a&mode=1&mode=1&level=250&score=" + kScore,
        "name=a" + tail + std::string(1100, ' '),
    };
    for (const std::string& body : bad) {
        const auto parsed = parseSubmissionRequest(body);
        EXPECT_FALSE(parsed.request) << body;
        EXPECT_FALSE(parsed.refusal.empty()) << body;
    }
    EXPECT_TRUE(
        parseSubmissionRequest("name=a&mode=1&level=250&score=" + encodeTime(999999.0f)).request);
}

TEST(NameCheckAndTableRequests, TakeExactlyTheirFields) {
    EXPECT_TRUE(parseNameCheckRequest("name=racer").request);
    EXPECT_FALSE(parseNameCheckRequest("").request);
    EXPECT_FALSE(parseNameCheckRequest("name=racer&mode=1").request);
    EXPECT_FALSE(parseNameCheckRequest("name=" + std::string(16, 'x')).request);

    const auto table = parseTableRequest("&mode=1&level=275");
    ASSERT_TRUE(table.request);
    EXPECT_EQ(table.request->levelId, 275);
    EXPECT_TRUE(parseTableRequest("&mode=2&level=20000").request);
    EXPECT_FALSE(parseTableRequest("&mode=1").request);
    EXPECT_FALSE(parseTableRequest("&mode=2&level=250").request);
    EXPECT_FALSE(parseTableRequest("name=a&mode=1&level=250").request);
}

TEST(CustomLevelRequests, NameTheServersKeyOrAreNotOnThisServer) {
    const std::string kept(64, 'a');
    const std::string lacked(64, 'b');
    const CustomLevelKeys keys = [&](int mode, const std::string& sha256) -> std::optional<int> {
        return mode == 1 && sha256 == kept ? std::optional(-7) : std::nullopt;
    };
    const auto table = parseTableRequest("&mode=1&level=" + kept, keys);
    ASSERT_TRUE(table.request) << table.refusal;
    EXPECT_EQ(table.request->levelId, -7);
    const auto submission =
        parseSubmissionRequest(submissionBody("a", 1, LevelIdentity::ofFile(kept), kScore), keys);
    ASSERT_TRUE(submission.request) << submission.refusal;
    EXPECT_EQ(submission.request->levelId, -7);
    // The game's own levels need no lookup.
    EXPECT_EQ(parseRunFetchRequest("mode=2&level=20000&position=1", keys).request->levelId, 20000);

    // A level the server lacks, or keeps in the other mode, or any with no
    // lookup: 404, before the run is unpacked (end to end: server_levels).
    const std::string notOnServer = "level not on this server|404";
    const std::string lackedRun = "name=a&mode=1&level=" + lacked + "&score=" + kScore + "&runz=!";
    EXPECT_EQ(outcome(parseRunSubmissionRequest(lackedRun, keys)), notOnServer);
    EXPECT_EQ(outcome(parseTableRequest("&mode=2&level=" + kept, keys)), notOnServer);
    EXPECT_EQ(outcome(parseTableRequest("&mode=1&level=" + kept)), notOnServer);

    // What is neither an id nor a hash as the game writes one is malformed.
    for (const std::string& level :
         {std::string(64, 'A'), std::string(63, 'a'), std::string(65, 'a'), std::string("0"),
          std::string("0250"), std::string("-1"), std::string(63, 'a') + "g"}) {
        const auto parsed = parseTableRequest("&mode=1&level=" + level, keys);
        EXPECT_FALSE(parsed.request) << level;
        EXPECT_EQ(parsed.status, 400) << level;
    }
}
