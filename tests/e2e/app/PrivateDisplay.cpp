#include "PrivateDisplay.hpp"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

// Xvfb writes the display number and a newline to this descriptor once it
// listens.
std::string readDisplayNumber(int fd, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::string text;
    while (Clock::now() < deadline && text.find('\n') == std::string::npos) {
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, 100) <= 0) {
            continue;
        }
        char buffer[32];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            break;  // Xvfb ended without a display
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    const std::size_t end = text.find('\n');
    return end == std::string::npos || end == 0 ? std::string() : text.substr(0, end);
}

// A window that is not mapped yet answers a focus or picture request with an
// X error; Xlib's own handler would end the test process for it.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

bool PrivateDisplay::available() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (!folder.empty() && access((folder + "/Xvfb").c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

PrivateDisplay::PrivateDisplay(double seconds) {
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return;
    }
    const std::string number = readDisplayNumber(fds[0], seconds);
    close(fds[0]);
    if (number.empty()) {
        return;
    }
    if (const char* current = std::getenv("DISPLAY")) {
        hadDisplay = true;
        previousDisplay = current;
    }
    name = ":" + number;
    setenv("DISPLAY", name.c_str(), 1);
    XSetErrorHandler(ignoreXError);
}

PrivateDisplay::~PrivateDisplay() {
    if (!name.empty()) {
        if (hadDisplay) {
            setenv("DISPLAY", previousDisplay.c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}
