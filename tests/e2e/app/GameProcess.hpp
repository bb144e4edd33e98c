#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

// The real game binary started as a child process with its own HOME and
// working folder, as a player would start it, with `arguments` on its command
// line. An empty value in `env` removes that variable. Its output goes to
// `outputFile`; the program is this build's game unless another (an installed
// one) is named.
class GameProcess {
  public:
    GameProcess(const std::string& workingFolder, const std::map<std::string, std::string>& env,
                const std::string& outputFile, const std::string& program = "",
                const std::vector<std::string>& arguments = {});
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Waits up to `seconds` for the game to end; its exit code, or -1 when it is
    // still running (or died from a signal).
    int waitForExit(double seconds);
    void kill(int signal);
    bool running() const { return pid > 0 && !exited; }

  private:
    pid_t pid = -1;
    bool exited = false;
    int status = 0;
};
