#include "X11Window.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// A window found before it is mapped answers a picture request with an X
// error; Xlib's own handler would end the test process for it, leaving the
// game it started running without its test.
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

std::string title(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return {};
    }
    std::string text(name);
    XFree(name);
    return text;
}

Window search(Display* display, Window parent, const std::string& prefix) {
    Window root = 0, parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOut, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        if (title(display, children[i]).rfind(prefix, 0) == 0) {
            found = children[i];
        } else {
            found = search(display, children[i], prefix);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

}  // namespace

namespace X11Window {

unsigned long find(const std::string& titlePrefix, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        Display_ x;
        if (x.display != nullptr) {
            const Window window = search(x.display, DefaultRootWindow(x.display), titlePrefix);
            if (window != 0) {
                return window;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
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

bool key(const std::string& keysymName, bool press) {
    Display_ x;
    if (x.display == nullptr) {
        return false;
    }
    const KeySym sym = XStringToKeysym(keysymName.c_str());
    const KeyCode code = XKeysymToKeycode(x.display, sym);
    if (code == 0) {
        return false;
    }
    XTestFakeKeyEvent(x.display, code, press ? True : False, CurrentTime);
    XFlush(x.display);
    return true;
}

std::pair<int, int> size(unsigned long window) {
    Display_ x;
    XWindowAttributes attributes{};
    if (x.display == nullptr || XGetWindowAttributes(x.display, window, &attributes) == 0) {
        return {0, 0};
    }
    return {attributes.width, attributes.height};
}

double colourShare(unsigned long window, int r, int g, int b) {
    Display_ x;
    XWindowAttributes attributes{};
    if (x.display == nullptr || XGetWindowAttributes(x.display, window, &attributes) == 0) {
        return 0.0;
    }
    XImage* image = XGetImage(x.display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0.0;
    }
    int matches = 0, samples = 0;
    for (int y = 4; y < attributes.height; y += 16) {
        for (int x0 = 4; x0 < attributes.width; x0 += 16) {
            const unsigned long pixel = XGetPixel(image, x0, y);
            const int pr = static_cast<int>((pixel >> 16) & 0xff);
            const int pg = static_cast<int>((pixel >> 8) & 0xff);
            const int pb = static_cast<int>(pixel & 0xff);
            matches += (std::abs(pr - r) <= 2 && std::abs(pg - g) <= 2 && std::abs(pb - b) <= 2);
            ++samples;
        }
    }
    XDestroyImage(image);
    return samples == 0 ? 0.0 : static_cast<double>(matches) / samples;
}

bool tap(const std::string& keysymName) {
    const bool down = key(keysymName, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    const bool up = key(keysymName, false);
    return down && up;
}

}  // namespace X11Window
