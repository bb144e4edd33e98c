#include <gtest/gtest.h>

#include <random>
#include <string>

#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "online/RunTransport.hpp"
#include "sim/base/Base64.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/run/RunText.hpp"

namespace {

// Half an hour at 240 frames a second, each frame measured a little longer or
// shorter than the last (as a real window measures them), in the ticks the
// play screen hands on, with a turn or a jump about every second.
RecordedRun halfHourAt240Hz() {
    RecordedRun run;
    run.levelName = "The Rope Bridge";
    run.levelFile = "levels/TheRopeBridge.tmx";
    run.levelId = 275;
    run.levelSha256 = std::string(64, 'a');
    run.physicsVersion = 3;
    std::mt19937 jitter(7);
    std::uniform_real_distribution<double> frame(1.0 / 240.0 - 0.0006, 1.0 / 240.0 + 0.0006);
    FrameTicks::Carry ticks;
    const PlayKey turns[] = {PlayKey::left, PlayKey::right};
    for (int i = 0; i < 30 * 60 * 240; ++i) {
        std::vector<PlayInput> inputs;
        if (i % 240 == 0) {
            inputs = {PlayInput::pressed(turns[(i / 240) % 2], false, i % 480 == 0)};
        }
        if (i % 300 == 7) {
            inputs.push_back(PlayInput::padTurn(static_cast<float>(i % 201) - 100.0f));
        }
        run.addFrame(ticks.frame(frame(jitter)), inputs);
    }
    run.finishMilliseconds = 1800000;
    return run;
}

}  // namespace

TEST(Base64, BothAlphabetsRoundTripAndRefuseWhatNoEncodingMakes) {
    using Base64::Alphabet;
    // RFC 4648's examples.
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Base64::encode(plain, Alphabet::standard), encoded);
        EXPECT_EQ(Base64::decode(encoded, Alphabet::standard), plain);
    }
    const std::string bytes = "\xfb\xff\xfe";
    EXPECT_EQ(Base64::encode(bytes, Alphabet::standard), "+//+");
    EXPECT_EQ(Base64::encode(bytes, Alphabet::urlSafe), "-__-");
    EXPECT_EQ(Base64::decode("-__-", Alphabet::urlSafe), bytes);
    EXPECT_EQ(Base64::decode(" Zm9v\n YmE= ", Alphabet::standard), "fooba") << "white space";
    EXPECT_EQ(Base64::decode("Zm9vYmE", Alphabet::urlSafe), "fooba") << "padding is optional";
    for (const char* broken : {"Z", "Zm9vY", "Zm=9", "Zm9v===", "Zh==", "Zm9v!", "+//+"}) {
        EXPECT_FALSE(Base64::decode(broken, Alphabet::urlSafe)) << broken;
    }
    EXPECT_FALSE(Base64::decode("Zm9vYmFy", Alphabet::standard, 5)) << "longer than allowed";
}

TEST(RunTransport, AHalfHourRunFitsTheBodyAndBrokenOrExplodingPackingIsRefusedCheaply) {
    const RecordedRun run = halfHourAt240Hz();
    const std::string text = formatRun(run);
    const std::string body = HighscoreProtocol::runBody("racer", 1, 275, "4 rCJJ", text);
    // The submission's fields as they are, then the run packed: nothing in it
    // needs escaping.
    EXPECT_EQ(
        body.rfind(HighscoreProtocol::submissionBody("racer", 1, 275, "4 rCJJ") + "&runz=", 0), 0u);
    EXPECT_EQ(body.find_first_of("%+/= \n", body.find("&runz=") + 6), std::string::npos);
    EXPECT_LT(body.size(), HighscoreProtocol::kMaxRunBodyBytes / 4) << body.size();
    EXPECT_LT(text.size(), HighscoreProtocol::kMaxRunTextBytes);

    const auto parsed = parseRunSubmissionRequest(body);
    ASSERT_TRUE(parsed.request) << parsed.refusal;
    EXPECT_EQ(parsed.request->runText, text);
    EXPECT_EQ(parsed.request->submission.levelId, 275);

    // Broken or exploding packing is refused cheaply.
    const std::string small = "rollavortex-run 3\nlevel: L\n";
    const std::string packed = packRun(small);
    EXPECT_EQ(unpackRun(packed, 1000), small);
    EXPECT_FALSE(unpackRun(packed, small.size() - 1)) << "one byte over the cap";
    EXPECT_FALSE(unpackRun(packed.substr(0, packed.size() - 3), 1000)) << "cut short";
    EXPECT_FALSE(unpackRun(packed + "AAAA", 1000)) << "bytes after the end";
    EXPECT_FALSE(unpackRun("not base64!", 1000));
    EXPECT_FALSE(unpackRun(Base64::encode("no zlib at all", Base64::Alphabet::urlSafe), 1000));
    EXPECT_FALSE(unpackRun("", 1000));

    // A quarter gigabyte of zeros packed into a request body's worth:
    // inflating stops at the cap.
    const std::string bomb = packRun(std::string(std::size_t{256} << 20, '\0'));
    ASSERT_LT(bomb.size(), HighscoreProtocol::kMaxRunBodyBytes);
    EXPECT_FALSE(unpackRun(bomb, HighscoreProtocol::kMaxRunTextBytes));
    const auto exploding =
        parseRunSubmissionRequest("name=a&mode=1&level=250&score=2 rXt&runz=" + bomb);
    EXPECT_FALSE(exploding.request);
    EXPECT_NE(exploding.refusal.find("runz"), std::string::npos) << exploding.refusal;

    // Games before the packing send the run itself (the server tests still do);
    // both at once is no request.
    EXPECT_FALSE(
        parseRunSubmissionRequest("name=a&mode=1&level=250&score=2 rXt&run=x&runz=" + packed)
            .request);
}
