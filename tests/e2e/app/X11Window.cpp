#include "X11Window.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

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

bool focus(unsigned long window) {
    Display_ x;
    if (x.display == nullptr) {
        return false;
    }
    XRaiseWindow(x.display, window);
    XSetInputFocus(x.display, window, RevertToParent, CurrentTime);
    XSync(x.display, False);
    return true;
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

bool tap(const std::string& keysymName) {
    const bool down = key(keysymName, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    const bool up = key(keysymName, false);
    return down && up;
}

}  // namespace X11Window
