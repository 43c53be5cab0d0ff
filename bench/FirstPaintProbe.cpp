// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Watches an X display for the first frame drawn into the first normal top-level window
// that is mapped, and prints its wall-clock time: "first-paint <ns>". It uses the DAMAGE
// extension, so it sees what reaches the screen whether the program draws with the CPU or
// through OpenGL. It also counts how often a main window was mapped ("maps <n>"): more
// than once means the window blinked (was taken down and put up again).
//
// Start it before the program; it prints "ready" once it is watching, and its findings when
// it gets SIGTERM or after the time-out. Usage: first_paint_probe [time-out in seconds, 30].
// Exit status 1 when no frame was drawn. Last it counts the clearly blue pixels in the right
// half of the main window as it is then ("blue-pixels <n>"): the start page's banner, for
// checking that the web pane really draws.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>

namespace {
volatile sig_atomic_t g_stop = 0;

void onTerm(int)
{
    g_stop = 1;
}

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Windows vanish while we look at them; that is no reason to stop.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// The main window is the first mapped one that a window manager would manage and that is
// large enough to be a window rather than a helper.
bool isMainWindowCandidate(Display* display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    return !attributes.override_redirect && attributes.width >= 200 && attributes.height >= 150;
}
// Pixels of the window's right half that are plainly blue, as on the screen now.
long bluePixelsOnRight(Display* display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return 0;
    const int left = attributes.width / 2;
    XImage* image =
        XGetImage(display, window, left, 0, static_cast<unsigned>(attributes.width - left),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return 0;
    long blue = 0;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const long r =
                static_cast<long>((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
            const long g =
                static_cast<long>((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
            const long b =
                static_cast<long>((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
            if (b >= 140 && b > r + 60 && b > g + 20)
                ++blue;
        }
    }
    XDestroyImage(image);
    return blue;
}
} // namespace

int main(int argc, char* argv[])
{
    const int timeoutSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint_probe: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "first_paint_probe: the display has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    signal(SIGTERM, onTerm);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    // First damage time of every top-level window, and the main window once it is mapped.
    std::map<Window, long long> firstDamage;
    Window mainWindow = 0;
    int maps = 0;
    const long long deadline = nowNs() + static_cast<long long>(timeoutSeconds) * 1000000000LL;
    pollfd descriptor{ConnectionNumber(display), POLLIN, 0};

    while (!g_stop && nowNs() < deadline) {
        if (!XPending(display)) {
            poll(&descriptor, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            // Watched from creation on, so no drawing after the map can be missed.
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && isMainWindowCandidate(display, event.xmap.window)) {
            ++maps;
            if (!mainWindow)
                mainWindow = event.xmap.window;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
            firstDamage.try_emplace(notify.drawable, nowNs());
            XDamageSubtract(display, notify.damage, None, None);
        }
    }
    const auto it = firstDamage.find(mainWindow);
    if (!mainWindow || it == firstDamage.end()) {
        std::fprintf(stderr, "first_paint_probe: no frame drawn\n");
        return 1;
    }
    std::printf("first-paint %lld\nmaps %d\nblue-pixels %ld\n", it->second, maps,
                bluePixelsOnRight(display, mainWindow));
    return 0;
}
