#include "GameProcess.hpp"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "SpawnLogged.hpp"

GameProcess::GameProcess(const std::string& workingFolder,
                         const std::map<std::string, std::string>& env,
                         const std::string& outputFile, const std::string& program,
                         const std::vector<std::string>& arguments) {
    // A test process that dies takes its game along: a game left running would
    // keep ctest waiting.
    std::vector<std::string> words{"setpriv", "--pdeathsig", "KILL", "env", "-C", workingFolder};
    for (const auto& [name, value] : env) {
        if (value.empty()) {
            words.insert(words.begin() + 4, "--unset=" + name);  // options before assignments
        } else {
            words.push_back(name + "=" + value);
        }
    }
    words.push_back(program.empty() ? GAME_BINARY : program);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::filesystem::remove(outputFile);
    pid = spawnLogged(words, outputFile);
}

GameProcess::~GameProcess() {
    if (running()) {
        ::kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
}

int GameProcess::waitForExit(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!exited && std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!exited || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

void GameProcess::kill(int signal) {
    if (running()) {
        ::kill(pid, signal);
        waitForExit(5.0);
    }
}
