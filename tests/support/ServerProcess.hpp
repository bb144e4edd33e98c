#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// The real rollavortex-highscored, started on a free loopback port with a
// database file of the test's choosing; its log goes to a file. The process is
// killed when the object goes away.
class ServerProcess {
  public:
    ServerProcess(std::string databasePath, std::string logPath);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the server with `options` added to its command line (a --listen
    // among them replaces 127.0.0.1:0) and waits until it listens; false when
    // it does not within a few seconds. The port is new on every start.
    bool start(const std::vector<std::string>& options = {});
    // SIGTERM, then waits for the end; the exit status, or -1 when it had to
    // be killed.
    int stop();
    // SIGKILL: the server gets no chance to tidy up.
    void killHard();

    bool running() const { return pid > 0; }
    // "127.0.0.1:port" of the current run.
    std::string address() const { return "127.0.0.1:" + std::to_string(port); }
    int listeningPort() const { return port; }
    pid_t processId() const { return pid; }
    // Everything the server has logged so far, over all its runs, once the log
    // has stopped growing.
    std::string log() const;

    // Runs the server binary with `arguments`, waits for it and hands back its
    // exit status; its standard output and error go to `outputPath`.
    static int runToEnd(const std::vector<std::string>& arguments, const std::string& outputPath);

  private:
    // The exit status once the process ended within `seconds`, else -1.
    int waitForExit(double seconds);

    std::string databasePath;
    std::string logPath;
    pid_t pid = -1;
    int port = 0;
};
