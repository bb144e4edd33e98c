#include "X11Window.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Closed again when the request is done.
std::unique_ptr<Display, int (*)(Display*)> openDisplay() {
    // A window that is not mapped yet, or already gone, answers a request with
    // an X error; Xlib's own handler would end the test process for it.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return {XOpenDisplay(nullptr), XCloseDisplay};
}

// Runs xdotool, ended after `seconds`: what it printed, or nothing when it
// failed.
std::optional<std::string> xdotool(const std::string& arguments, double seconds) {
    const std::string command =
        "timeout " + std::to_string(std::ceil(seconds)) + " xdotool " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string printed;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        printed += buffer;
    }
    return pclose(pipe) == 0 ? std::optional(printed) : std::nullopt;
}

}  // namespace

namespace X11Window {

unsigned long find(const std::string& titlePrefix, double seconds) {
    const auto printed = xdotool("search --sync --limit 1 --name '^" + titlePrefix + "'", seconds);
    return std::strtoul(printed.value_or("").c_str(), nullptr, 10);
}

bool focus(unsigned long window) {
    return xdotool("windowfocus --sync " + std::to_string(window), 10.0).has_value();
}

bool requestClose(unsigned long window) {
    const auto display = openDisplay();
    if (!display) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display.get(), window, False, NoEventMask, &event) != 0;
    XFlush(display.get());
    return sent;
}

bool keys(const std::string& names) {
    // Half the delay between a press and its release, half to the next key:
    // long enough for the game to see every press in a frame of its own.
    return xdotool("key --delay 200 " + names, 30.0).has_value();
}

sf::Image capture(unsigned long window) {
    sf::Image picture;
    const auto display = openDisplay();
    XWindowAttributes attributes{};
    if (!display || XGetWindowAttributes(display.get(), window, &attributes) == 0 ||
        attributes.map_state != IsViewable) {
        return picture;
    }
    XImage* image = XGetImage(display.get(), window, 0, 0, static_cast<unsigned>(attributes.width),
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
