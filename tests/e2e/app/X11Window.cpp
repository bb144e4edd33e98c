#include "X11Window.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A window that is not mapped yet, or already gone, answers a request with an
// X error; Xlib's own handler would end the test process for it.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

struct Display_ {
    Display_() : display(XOpenDisplay(nullptr)) { XSetErrorHandler(ignoreXError); }
    ~Display_() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
    Display* display;
};

// Runs xdotool (ended after `seconds`); what it printed, and whether it
// succeeded.
bool xdotool(const std::string& arguments, double seconds, std::string* printed = nullptr) {
    const std::string command =
        "timeout " + std::to_string(std::ceil(seconds)) + " xdotool " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return false;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        if (printed != nullptr) {
            *printed += buffer;
        }
    }
    return pclose(pipe) == 0;
}

}  // namespace

namespace X11Window {

unsigned long find(const std::string& titlePrefix, double seconds) {
    std::string printed;
    xdotool("search --sync --limit 1 --name '^" + titlePrefix + "'", seconds, &printed);
    return std::strtoul(printed.c_str(), nullptr, 10);
}

bool focus(unsigned long window) {
    return xdotool("windowfocus --sync " + std::to_string(window), 10.0);
}

bool requestClose(unsigned long window) {
    Display_ x;
    if (x.display == nullptr) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(x.display, window, False, NoEventMask, &event) != 0;
    XFlush(x.display);
    return sent;
}

bool keys(const std::string& names) {
    // Half the delay between a press and its release, half to the next key:
    // long enough for the game to see every press in a frame of its own.
    return xdotool("key --delay 200 " + names, 30.0);
}

sf::Image capture(unsigned long window) {
    sf::Image picture;
    Display_ x;
    XWindowAttributes attributes{};
    if (x.display == nullptr || XGetWindowAttributes(x.display, window, &attributes) == 0 ||
        attributes.map_state != IsViewable) {
        return picture;
    }
    XImage* image = XGetImage(x.display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return picture;
    }
    picture.create(static_cast<unsigned>(attributes.width),
                   static_cast<unsigned>(attributes.height));
    for (int y = 0; y < attributes.height; ++y) {
        for (int x0 = 0; x0 < attributes.width; ++x0) {
            const unsigned long pixel = XGetPixel(image, x0, y);
            picture.setPixel(static_cast<unsigned>(x0), static_cast<unsigned>(y),
                             sf::Color(static_cast<sf::Uint8>((pixel >> 16) & 0xff),
                                       static_cast<sf::Uint8>((pixel >> 8) & 0xff),
                                       static_cast<sf::Uint8>(pixel & 0xff)));
        }
    }
    XDestroyImage(image);
    return picture;
}

}  // namespace X11Window
