#include "ServerProcess.hpp"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "SpawnLogged.hpp"
#include "TempFolder.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kStartSeconds = 10;
constexpr double kStopSeconds = 10;
constexpr std::chrono::milliseconds kPoll{10};

// The server binary of the same build, which is built into <build>/server,
// the test programs into <build>/tests, the benchmarks into <build>/bench/NAME;
// empty when it was not built.
std::string binaryPath() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    for (const auto& build :
         {self.parent_path().parent_path(), self.parent_path().parent_path().parent_path()}) {
        const auto server = build / "server" / "rollavortex-highscored";
        if (!error && std::filesystem::exists(server, error)) {
            return server.string();
        }
    }
    return "";
}

pid_t spawn(const std::vector<std::string>& arguments, const std::string& outputPath) {
    std::vector<std::string> words = {binaryPath()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return spawnLogged(std::move(words), outputPath);
}

}  // namespace

ServerProcess::ServerProcess(std::string databasePath, std::string logPath)
    : databasePath(std::move(databasePath)), logPath(std::move(logPath)) {}

ServerProcess::~ServerProcess() {
    if (running()) {
        killHard();
    }
}

int ServerProcess::runToEnd(const std::vector<std::string>& arguments,
                            const std::string& outputPath) {
    const pid_t child = spawn(arguments, outputPath);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

bool ServerProcess::start(const std::vector<std::string>& options) {
    const std::size_t logStart = log().size();
    // The replays at the same priority as everything else on the machine:
    // beside test programs that keep both cores busy, a replay kept nice would
    // wait seconds for its turn, which no server meets among its own work.
    std::vector<std::string> arguments = {"--listen",   "127.0.0.1:0",   "--db",
                                          databasePath, "--replay-nice", "0"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    pid = spawn(arguments, logPath);
    if (pid < 0) {
        return false;
    }
    // "listening on HOST:PORT, database ...", HOST maybe "[::1]".
    const std::string marker = "listening on ";
    const auto deadline = Clock::now() + std::chrono::duration<double>(kStartSeconds);
    while (Clock::now() < deadline) {
        const std::string text = log();
        const std::size_t at = text.find(marker, logStart);
        const std::size_t end = text.find(", database", at);
        if (at != std::string::npos && end != std::string::npos) {
            port = std::stoi(text.substr(text.rfind(':', end) + 1));
            return true;
        }
        if (waitForExit(0) >= 0) {
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    killHard();
    return false;
}

int ServerProcess::waitForExit(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    do {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(kPoll);
    } while (Clock::now() < deadline);
    return -1;
}

int ServerProcess::stop() {
    if (!running()) {
        return -1;
    }
    kill(pid, SIGTERM);
    const int status = waitForExit(kStopSeconds);
    if (status < 0) {
        killHard();
    }
    return status;
}

void ServerProcess::killHard() {
    if (!running()) {
        return;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

std::string ServerProcess::log() const {
    // The server writes a request's log line after the answer has gone out, so
    // a test that reads right after its last request waits for the log to
    // settle (no growth for 50 ms, at most 2 s).
    std::string text = slurpFile(logPath);
    for (int wait = 0; wait < 40; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::string later = slurpFile(logPath);
        if (later.size() == text.size()) {
            break;
        }
        text = std::move(later);
    }
    return text;
}
