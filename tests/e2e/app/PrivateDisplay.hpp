#pragma once

#include <sys/types.h>

#include <string>

// A virtual X display of this test's own, made the test process's DISPLAY
// for its lifetime. Real key presses go to whichever window has the focus on
// a display; on a display shared with tests running in parallel, their windows
// and their key presses would mix with ours.
class PrivateDisplay {
  public:
    // Starts Xvfb with a 1280 x 1024 x 24 screen and waits (up to `seconds`)
    // until it takes connections.
    explicit PrivateDisplay(double seconds = 20.0);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    bool ready() const { return !name.empty(); }
    // ":N", empty when the server did not come up.
    const std::string& displayName() const { return name; }

    // Is there an Xvfb to start at all?
    static bool available();

  private:
    pid_t pid = -1;
    std::string name;
    std::string previousDisplay;
    bool hadDisplay = false;
};
