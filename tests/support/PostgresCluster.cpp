#include "PostgresCluster.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Where Debian's postgresql-NN packages put the server programs.
constexpr const char* kInstallRoot = "/usr/lib/postgresql";
constexpr const char* kServiceUser = "postgres";
constexpr double kReadySeconds = 30;
constexpr double kStopSeconds = 20;
constexpr std::chrono::milliseconds kPoll{10};
// The status line of postmaster.pid, "ready" once connections are taken.
constexpr int kPidFileStatusLine = 8;

// The bin folder of the newest installed server, "" when there is none.
std::string newestBinaries() {
    std::error_code error;
    std::string best;
    int bestVersion = -1;
    for (const auto& entry : fs::directory_iterator(kInstallRoot, error)) {
        const std::string version = entry.path().filename().string();
        if (fs::exists(entry.path() / "bin" / "initdb", error) &&
            std::atoi(version.c_str()) > bestVersion) {
            bestVersion = std::atoi(version.c_str());
            best = (entry.path() / "bin").string();
        }
    }
    return best;
}

// Runs the server programs as `postgres` when we are root, and asks the
// kernel to send SIGQUIT (PostgreSQL's immediate shutdown) should we die.
std::vector<std::string> asServiceUser(const std::vector<std::string>& command) {
    std::vector<std::string> words = {"setpriv", "--pdeathsig", "SIGQUIT"};
    if (geteuid() == 0) {
        words.insert(words.end(), {std::string("--reuid=") + kServiceUser,
                                   std::string("--regid=") + kServiceUser, "--clear-groups"});
    }
    words.push_back("--");
    words.insert(words.end(), command.begin(), command.end());
    return words;
}

pid_t spawnLogged(std::vector<std::string> words, const std::string& outputPath) {
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = -1;
    const int result = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? child : -1;
}

// The exit status of a program run to its end, -1 when it did not run.
int runLogged(const std::vector<std::string>& words, const std::string& outputPath) {
    const pid_t child = spawnLogged(words, outputPath);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Whether the child ended within `seconds` (reaped then).
bool endedWithin(pid_t child, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    do {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            return true;
        }
        std::this_thread::sleep_for(kPoll);
    } while (Clock::now() < deadline);
    return false;
}

std::string lineOf(const std::string& text, int number) {
    std::istringstream lines(text);
    std::string line;
    for (int i = 0; i < number && std::getline(lines, line); ++i) {
    }
    return line;
}

// Gives a folder to the service user, so the server may write there.
bool handOver(const fs::path& folder, mode_t mode) {
    std::error_code error;
    fs::create_directory(folder, error);
    if (error || chmod(folder.c_str(), mode) != 0) {
        return false;
    }
    if (geteuid() != 0) {
        return true;
    }
    const passwd* user = getpwnam(kServiceUser);
    return user && chown(folder.c_str(), user->pw_uid, user->pw_gid) == 0;
}

}  // namespace

PostgresCluster::~PostgresCluster() {
    stop();
}

std::string PostgresCluster::uri(const std::string& database) const {
    return "postgresql://postgres@/" + database + "?host=" + folder.file("run");
}

bool PostgresCluster::start() {
    const auto begin = Clock::now();
    binaries = newestBinaries();
    if (binaries.empty()) {
        failure = std::string("no PostgreSQL server under ") + kInstallRoot +
                  "; scripts/install-deps.sh --tests installs it";
        return false;
    }
    // The service user must reach the folder to use its own parts of it.
    const std::string data = folder.file("data");
    if (chmod(folder.path().c_str(), 0755) != 0 || !handOver(data, 0700) ||
        !handOver(folder.file("run"), 0755)) {
        failure = "cannot prepare the cluster folders (is there a '" + std::string(kServiceUser) +
                  "' user?)";
        return false;
    }
    const std::string initLog = folder.file("initdb.log");
    // No syncs, in initdb or the server: the folder is thrown away, and waiting
    // for the disk of a busy machine would only slow every test down. What the
    // tests check (each answered write committed, the order of arrival) is the
    // same with or without them.
    if (runLogged(asServiceUser({binaries + "/initdb", "-D", data, "-U", "postgres", "-A", "trust",
                                 "-E", "UTF8", "--no-locale", "--no-sync", "--no-instructions"}),
                  initLog) != 0) {
        failure = "initdb failed: " + slurpFile(initLog);
        return false;
    }
    postmaster =
        spawnLogged(asServiceUser({binaries + "/postgres", "-D", data, "-k", folder.file("run"),
                                   "-c", "listen_addresses=", "-c", "fsync=off"}),
                    folder.file("postgres.log"));
    const auto deadline = Clock::now() + std::chrono::duration<double>(kReadySeconds);
    while (postmaster > 0 && Clock::now() < deadline) {
        if (lineOf(slurpFile(data + "/postmaster.pid"), kPidFileStatusLine).find("ready") == 0) {
            secondsToStart = std::chrono::duration<double>(Clock::now() - begin).count();
            return true;
        }
        if (endedWithin(postmaster, 0)) {
            postmaster = -1;
        }
        std::this_thread::sleep_for(kPoll);
    }
    failure = "the PostgreSQL server did not start: " + slurpFile(folder.file("postgres.log"));
    stop();
    return false;
}

void PostgresCluster::stop() {
    if (!running()) {
        return;
    }
    // SIGQUIT is the immediate shutdown: no final checkpoint, which this
    // folder would never use.
    const int signals[] = {SIGQUIT, SIGKILL};
    for (const int signal : signals) {
        kill(postmaster, signal);
        if (endedWithin(postmaster, kStopSeconds)) {
            break;
        }
    }
    postmaster = -1;
}

std::optional<std::string> PostgresCluster::query(const std::string& uri, const std::string& sql) {
    if (!running()) {
        failure = "the cluster is not running: " + failure;
        return std::nullopt;
    }
    const std::string output = folder.file("query" + std::to_string(++queries) + ".txt");
    const int status = runLogged(
        {binaries + "/psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-d", uri, "-c", sql},
        output);
    std::string text = slurpFile(output);
    if (status != 0) {
        failure = "psql failed: " + text;
        return std::nullopt;
    }
    return text;
}

std::string PostgresCluster::createDatabase() {
    const std::string name = "board" + std::to_string(++databases);
    return query(uri("postgres"), "CREATE DATABASE " + name) ? uri(name) : "";
}

PostgresCluster& testCluster() {
    static PostgresCluster cluster;
    static const bool started = [] {
        const bool up = cluster.start();
        if (up) {
            std::fprintf(stderr, "PostgreSQL test cluster ready in %.2f s\n",
                         cluster.startSeconds());
        }
        return up;
    }();
    (void)started;
    return cluster;
}
