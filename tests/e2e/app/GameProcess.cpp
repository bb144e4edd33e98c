#include "GameProcess.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

GameProcess::GameProcess(const std::string& workingFolder,
                         const std::map<std::string, std::string>& env,
                         const std::string& errorFile, const std::string& program,
                         const std::vector<std::string>& arguments) {
    const std::string binary = program.empty() ? GAME_BINARY : program;
    // Made before the fork: the child only execs.
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid = fork();
    if (pid != 0) {
        return;
    }
    // A test process that dies takes its game along: a game left running would
    // hold the test's output open and keep ctest waiting.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (chdir(workingFolder.c_str()) != 0) {
        _exit(126);
    }
    if (!errorFile.empty()) {
        const int file = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (file < 0 || dup2(file, STDERR_FILENO) < 0) {
            _exit(125);
        }
        close(file);
    }
    for (const auto& [name, value] : env) {
        if (value.empty()) {
            unsetenv(name.c_str());
        } else {
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    execv(binary.c_str(), argv.data());
    _exit(127);
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
