#include "VerificationLatency.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "LoopbackClient.hpp"
#include "TempFolder.hpp"
#include "TestRuns.hpp"
#include "online/HighscoreProtocol.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace HighscoreProtocol;

constexpr int kHostileClients = 12;
constexpr long long kHostileClaimMs = 1790000;
constexpr const char* kHonestAddress = "127.0.9.100";

LoopbackClient::Answer post(const ServerProcess& server, const std::string& from,
                            std::string_view path, const std::string& body) {
    LoopbackClient client(server.listeningPort(), from);
    client.send(httpRequest("POST", path, body, false));
    return client.readAnswer().value_or(LoopbackClient::Answer{});
}

// Waits until `name` shows as verified on The Rope Bridge's table.
void awaitVerified(const ServerProcess& server, const std::string& name) {
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    while (Clock::now() < deadline &&
           post(server, kHonestAddress, kTablePath, tableQueryBody(1, 275))
                   .body.find(" replay\t" + name + "\t") == std::string::npos) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

double percentileOf(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

}  // namespace

void measureVerificationLatency(const ServerProcess& server, int samples) {
    const CommittedRun& bridge = kCommittedRuns[1];
    const std::string honest = slurpFile(bridge.file);
    if (honest.empty()) {
        std::printf("no %s here: run from the project root for the verification latency\n",
                    bridge.file);
        return;
    }
    const std::string hostile = runSubmission("hostile", bridge.mode, bridge.level,
                                              neverFinishingRun(honest), kHostileClaimMs);
    std::vector<std::unique_ptr<LoopbackClient>> strangers;
    for (int i = 1; i <= kHostileClients; ++i) {
        strangers.push_back(std::make_unique<LoopbackClient>(server.listeningPort(),
                                                             "127.0.9." + std::to_string(i)));
        strangers.back()->send(httpRequest("POST", kRunPath, hostile, false));
    }
    int queued = 0;
    for (auto& stranger : strangers) {
        queued += stranger->readAnswer().value_or(LoopbackClient::Answer{}).body == "OK queued\n";
    }
    std::vector<double> seconds;
    int verifiedAtOnce = 0;
    for (int i = 0; i < samples; ++i) {
        const std::string name = "honest" + std::to_string(i);
        const auto sent = Clock::now();
        const auto answer = post(server, kHonestAddress, kRunPath,
                                 runSubmission(name, withHarmlessReleases(honest, i + 1)));
        if (answer.body == "OK verified\n") {
            ++verifiedAtOnce;
        } else {
            awaitVerified(server, name);
        }
        seconds.push_back(std::chrono::duration<double>(Clock::now() - sent).count());
    }
    std::printf(
        "honest run verified, %d of %d hostile half-hour runs queued: p50 %.2f s  p99 %.2f s  "
        "max %.2f s  (%d of %d answered \"OK verified\" at once)\n",
        queued, kHostileClients, percentileOf(seconds, 0.5), percentileOf(seconds, 0.99),
        *std::max_element(seconds.begin(), seconds.end()), verifiedAtOnce, samples);
    std::fflush(stdout);
}
