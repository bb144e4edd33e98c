// Load check of the highscore server: several loopback clients send table
// fetches and submissions, each a new HTTP/1.0 connection as the game makes
// them, for a fixed time; then requests per second and latency percentiles.
//
// Without --server it starts its own server on a free port with a fresh
// database in a temporary folder, and fills every level with 200 names first
// so that fetches carry full-sized tables.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "online/HighscoreProtocol.hpp"
#include "online/HttpExchange.hpp"
#include "online/ScoreText.hpp"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace HighscoreProtocol;

constexpr int kLevels[][2] = {{1, 250}, {1, 275}, {2, 20000}, {2, 20057}};
constexpr int kNamesPerLevel = 200;
const sf::Time kTimeout = sf::seconds(5);

struct Options {
    double seconds = 10;
    int clients = 8;
    // One request in this many is a submission, the rest table fetches.
    int submitEvery = 5;
    std::string server;
};

struct Sample {
    double milliseconds;
    bool submission;
    bool ok;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--seconds") {
            options.seconds = std::stod(value);
        } else if (key == "--clients") {
            options.clients = std::max(1, std::stoi(value));
        } else if (key == "--submit-every") {
            options.submitEvery = std::max(1, std::stoi(value));
        } else if (key == "--server") {
            options.server = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

// The server binary on a free port; "" when it does not come up.
std::string startServer(const std::filesystem::path& folder, pid_t& pid) {
#ifdef SERVER_BINARY
    const std::string log = (folder / "server.log").string();
    const std::string database = (folder / "scores.db").string();
    std::vector<std::string> words = {SERVER_BINARY, "--listen", "127.0.0.1:0", "--db", database};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        return "";
    }
    const std::string marker = "listening on ";
    for (int attempt = 0; attempt < 500; ++attempt) {
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        const std::string content = text.str();
        const std::size_t at = content.find(marker);
        if (at != std::string::npos) {
            return content.substr(at + marker.size(), content.find(',', at) - at - marker.size());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
#else
    (void)folder;
    (void)pid;
#endif
    return "";
}

HttpAnswer post(const ServerAddress& address, std::string_view path, const std::string& body) {
    return exchange(address, buildPostRequest(address, path, body), kTimeout);
}

std::string randomName(std::mt19937& random) {
    return "player " + std::to_string(std::uniform_int_distribution<int>(1, 999)(random));
}

void fill(const ServerAddress& address) {
    std::mt19937 random(1);
    std::uniform_real_distribution<float> seconds(20.0f, 300.0f);
    for (const auto& level : kLevels) {
        for (int i = 0; i < kNamesPerLevel; ++i) {
            post(address, kSubmitPath,
                 submissionBody("filler " + std::to_string(i), level[0], level[1],
                                encodeTime(seconds(random))));
        }
    }
}

std::vector<Sample> runClient(const ServerAddress& address, const Options& options,
                              Clock::time_point end, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pickLevel(0, 3);
    std::uniform_real_distribution<float> seconds(20.0f, 300.0f);
    std::vector<Sample> samples;
    for (unsigned n = 0; Clock::now() < end; ++n) {
        const auto& level = kLevels[pickLevel(random)];
        const bool submission = n % static_cast<unsigned>(options.submitEvery) == 0;
        const auto start = Clock::now();
        const HttpAnswer answer =
            submission ? post(address, kSubmitPath,
                              submissionBody(randomName(random), level[0], level[1],
                                             encodeTime(seconds(random))))
                       : post(address, kTablePath, tableQueryBody(level[0], level[1]));
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        samples.push_back({ms, submission, answer.complete && answer.status == 200});
    }
    return samples;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[index];
}

void report(const char* label, const std::vector<Sample>& samples, double seconds, bool submissions,
            bool all) {
    std::vector<double> ms;
    std::size_t failed = 0;
    for (const Sample& sample : samples) {
        if (all || sample.submission == submissions) {
            ms.push_back(sample.milliseconds);
            failed += sample.ok ? 0 : 1;
        }
    }
    std::printf(
        "%-12s %8zu requests %9.1f req/s  p50 %7.2f ms  p99 %7.2f ms  max %7.2f ms  "
        "failed %zu\n",
        label, ms.size(), static_cast<double>(ms.size()) / seconds, percentile(ms, 0.5),
        percentile(ms, 0.99), ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()), failed);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "Usage: serverload [--seconds S] [--clients N] [--submit-every K] "
                     "[--server HOST:PORT]\n");
        return 2;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("serverload-" + std::to_string(getpid()));
    pid_t serverPid = -1;
    std::string server = options.server;
    if (server.empty()) {
        std::filesystem::create_directories(folder);
        server = startServer(folder, serverPid);
        if (server.empty()) {
            std::fprintf(stderr, "serverload: could not start the highscore server\n");
            return 1;
        }
    }
    const ServerAddress address = parseServerAddress(server);
    std::printf("server %s, %d clients, %.0f s, one submission in %d requests\n", server.c_str(),
                options.clients, options.seconds, options.submitEvery);
    if (serverPid > 0) {
        fill(address);
    }

    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(options.seconds));
    std::vector<std::vector<Sample>> results(static_cast<std::size_t>(options.clients));
    std::vector<std::thread> clients;
    for (int c = 0; c < options.clients; ++c) {
        clients.emplace_back([&, c] {
            results[static_cast<std::size_t>(c)] =
                runClient(address, options, end, static_cast<unsigned>(c + 1));
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    std::vector<Sample> samples;
    for (const auto& part : results) {
        samples.insert(samples.end(), part.begin(), part.end());
    }
    report("all", samples, options.seconds, false, true);
    report("fetches", samples, options.seconds, false, false);
    report("submissions", samples, options.seconds, true, false);

    if (serverPid > 0) {
        kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return 0;
}
