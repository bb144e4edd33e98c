// Load check of the highscore server over loopback. It starts the server with
// the given --db (a fresh SQLite file by default), fills one level with 300
// records and then measures, each for a few seconds with several clients:
//
//   fetch 1.0   table fetches of the 300-record table, a new HTTP/1.0
//               connection each, as the game makes them
//   fetch k-a   the same over kept-alive HTTP/1.1 connections
//   submit      submissions of new names, each answered only once it is on
//               disk (HTTP/1.0, as the game)
//
// and all three again with 500 slow clients holding connections that drip a
// header byte per second. Last, table fetches and name checks while 16 more
// clients flood the server with submissions of the longest committed run
// (levels/runs, read from the working folder: run it from the project root).
// The server's per-address rate limit is lifted: the load comes from one
// address. Last of all, the time an honest run waits for its verdict while
// twelve runs of half an hour from twelve addresses are queued.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackClient.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "TestRuns.hpp"
#include "VerificationLatency.hpp"
#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HttpExchange.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace HighscoreProtocol;

constexpr int kTableRecords = 300;
constexpr int kFetchedMode = 1;
constexpr int kFetchedLevel = 250;
// Submissions go to another level, so the fetched table keeps its size.
constexpr int kSubmitMode = 2;
constexpr int kSubmitLevel = 20057;
const sf::Time kTimeout = sf::seconds(5);
constexpr int kFloodClients = 16;
constexpr const char* kFloodRun = "levels/runs/ChaosUnleashed.run";

struct Options {
    std::string database;
    double seconds = 4;
    int clients = 8;
    int slowClients = 500;
    int honestRuns = 20;
};

struct Sample {
    double milliseconds;
    bool ok;
};

// One request of a client; false when its answer was wrong. `client` and `n`
// make names unique.
using Request = std::function<bool(int client, unsigned n)>;

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--db") {
            options.database = value;
        } else if (key == "--seconds") {
            options.seconds = std::stod(value);
        } else if (key == "--clients") {
            options.clients = std::max(1, std::stoi(value));
        } else if (key == "--slow") {
            options.slowClients = std::max(0, std::stoi(value));
        } else if (key == "--honest") {
            options.honestRuns = std::max(1, std::stoi(value));
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

bool oneShot(const ServerAddress& address, std::string_view path, const std::string& body) {
    const HttpAnswer answer = exchange(address, buildPostRequest(address, path, body), kTimeout);
    return answer.complete && answer.status == 200;
}

std::vector<Sample> runClients(const Options& options, const Request& request) {
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(options.seconds));
    std::vector<std::vector<Sample>> results(static_cast<std::size_t>(options.clients));
    std::vector<std::thread> clients;
    for (int c = 0; c < options.clients; ++c) {
        clients.emplace_back([&, c] {
            for (unsigned n = 0; Clock::now() < end; ++n) {
                const auto start = Clock::now();
                const bool ok = request(c, n);
                results[static_cast<std::size_t>(c)].push_back(
                    {std::chrono::duration<double, std::milli>(Clock::now() - start).count(), ok});
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    std::vector<Sample> samples;
    for (const auto& part : results) {
        samples.insert(samples.end(), part.begin(), part.end());
    }
    return samples;
}

// CPU seconds the process has used, user and system.
double cpuSeconds(pid_t pid) {
    std::string stat = slurpFile("/proc/" + std::to_string(pid) + "/stat");
    // The fields after the command name, which is in parentheses.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index >= 14) {
            ticks += std::stol(field);
        }
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// `serverCpu`: CPU seconds the server used during the run.
void report(const std::string& label, const std::vector<Sample>& samples, double seconds,
            double serverCpu) {
    std::vector<double> ms;
    std::size_t failed = 0;
    for (const Sample& sample : samples) {
        ms.push_back(sample.milliseconds);
        failed += sample.ok ? 0 : 1;
    }
    std::printf(
        "%-26s %7.1f req/s  p50 %6.2f ms  p99 %6.2f ms  max %7.2f ms  failed %zu  "
        "server CPU %5.1f us/req\n",
        label.c_str(), static_cast<double>(ms.size()) / seconds, percentile(ms, 0.5),
        percentile(ms, 0.99), ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()), failed,
        ms.empty() ? 0.0 : serverCpu * 1e6 / static_cast<double>(ms.size()));
    std::fflush(stdout);
}

// Clients that keep submitting runs for as long as the object lives, as a
// flood of cheaters would: each from an address of its own, each run another
// text (a harmless key release more) under another name, so that every one
// is queued and replayed until the caps per address answer 429.
class RunFlood {
  public:
    RunFlood(int port, const std::string& run) {
        for (int c = 0; c < kFloodClients; ++c) {
            clients.emplace_back([this, port, run, c] {
                const std::string from = "127.0.10." + std::to_string(c + 1);
                for (int n = 1; !done; ++n) {
                    const std::string name = "f" + std::to_string(c) + "x" + std::to_string(n);
                    LoopbackClient client(port, from);
                    client.send(
                        httpRequest("POST", kRunPath,
                                    runSubmission(name, 2, 20057, withHarmlessReleases(run, n),
                                                  recordedMs(run)),
                                    false));
                    const int status =
                        client.readAnswer().value_or(LoopbackClient::Answer{}).status;
                    (status == 200 ? taken : status == 429 ? capped : other)++;
                }
            });
        }
    }
    ~RunFlood() {
        done = true;
        for (std::thread& client : clients) {
            client.join();
        }
        std::printf("  run flood: %d taken, %d over the caps, %d other\n", taken.load(),
                    capped.load(), other.load());
    }

  private:
    std::atomic<bool> done{false};
    std::atomic<int> taken{0}, capped{0}, other{0};
    std::vector<std::thread> clients;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "Usage: serverload [--db VALUE] [--seconds S] [--clients N] [--slow N] "
                     "[--honest N]\n");
        return 2;
    }
    TempFolder folder;
    const std::string database =
        options.database.empty() ? folder.file("scores.db") : options.database;
    ServerProcess server(database, folder.file("server.log"));
    if (!server.start({"--rate-limit", "1000000", "--rate-burst", "1000000",
                       "--max-connections-per-address", "100000"})) {
        std::fprintf(stderr, "serverload: the server did not start:\n%s", server.log().c_str());
        return 1;
    }
    const ServerAddress address = parseServerAddress(server.address());
    std::printf("database %s, %d clients, %.0f s per run\n", database.c_str(), options.clients,
                options.seconds);
    for (int i = 0; i < kTableRecords; ++i) {
        oneShot(address, kSubmitPath,
                submissionBody("filler " + std::to_string(i), kFetchedMode, kFetchedLevel,
                               encodeTime(20.0f + 0.25f * static_cast<float>(i))));
    }

    const std::string tableBody = tableQueryBody(kFetchedMode, kFetchedLevel);
    const std::string keptAliveFetch = httpRequest("POST", kTablePath, tableBody);
    std::vector<std::unique_ptr<LoopbackClient>> keptAlive;
    const std::string runTag = std::to_string(getpid() % 10000);
    const std::vector<std::pair<std::string, Request>> runs = {
        {"fetch 1.0", [&](int, unsigned) { return oneShot(address, kTablePath, tableBody); }},
        {"fetch kept-alive",
         [&](int c, unsigned) {
             LoopbackClient& client = *keptAlive[static_cast<std::size_t>(c)];
             const auto answer = client.send(keptAliveFetch) ? client.readAnswer() : std::nullopt;
             return answer && answer->status == 200;
         }},
        {"durable submit",
         [&](int c, unsigned n) {
             // Letters and digits only, at most 15: "b", the run, the client, the count.
             const std::string name =
                 "b" + runTag + "c" + std::to_string(c) + "n" + std::to_string(n);
             return oneShot(address, kSubmitPath,
                            submissionBody(name.substr(0, kMaxNameLength), kSubmitMode,
                                           kSubmitLevel, encodeTime(30.0f + 0.001f * n)));
         }},
    };
    for (const int slowCount : {0, options.slowClients}) {
        for (const auto& [label, request] : runs) {
            keptAlive.clear();
            for (int c = 0; c < options.clients; ++c) {
                keptAlive.push_back(std::make_unique<LoopbackClient>(server.listeningPort()));
            }
            // Fresh slow clients for each run: the server drops them once the
            // request time-out has passed.
            const auto slow = slowCount > 0
                                  ? std::make_unique<SlowClients>(server.listeningPort(), slowCount)
                                  : nullptr;
            const double cpuBefore = cpuSeconds(server.processId());
            const std::vector<Sample> samples = runClients(options, request);
            report(label + (slow ? " +" + std::to_string(slow->connected()) + " slow" : ""),
                   samples, options.seconds, cpuSeconds(server.processId()) - cpuBefore);
        }
    }
    const std::string flooding = slurpFile(kFloodRun);
    if (flooding.empty()) {
        std::printf("no %s here: run from the project root for the run flood\n", kFloodRun);
    } else {
        const std::string nameBody = nameCheckBody("nobody");
        const std::vector<std::pair<std::string, Request>> checks = {
            {"fetch 1.0 + run flood",
             [&](int, unsigned) { return oneShot(address, kTablePath, tableBody); }},
            {"name check + run flood",
             [&](int, unsigned) { return oneShot(address, kNameCheckPath, nameBody); }},
        };
        for (const auto& [label, request] : checks) {
            const RunFlood flood(server.listeningPort(), flooding);
            const double cpuBefore = cpuSeconds(server.processId());
            const std::vector<Sample> samples = runClients(options, request);
            report(label, samples, options.seconds, cpuSeconds(server.processId()) - cpuBefore);
        }
    }
    measureVerificationLatency(server, options.honestRuns);
    server.stop();
    return 0;
}
