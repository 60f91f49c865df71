#include "support/x11/VirtualDisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/ChildProcess.h"

extern char** environ;

namespace x11test {
namespace {

Display* Dpy(void* display) { return static_cast<Display*>(display); }

std::string FindXvfb() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    dirs += ":/usr/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = dirs.find(':', start);
        const std::string candidate = dirs.substr(start, end - start) + "/Xvfb";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}

// Reads the display number Xvfb writes once it accepts connections.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    pollfd waiting{fd, POLLIN, 0};
    while (poll(&waiting, 1, 10000) > 0) {
        char c = 0;
        if (read(fd, &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    return number;
}

}  // namespace

VirtualDisplay::VirtualDisplay(int width, int height) {
    const std::string xvfb = FindXvfb();
    if (xvfb.empty()) return;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    const std::string fd = std::to_string(pipeFds[1]);
    std::string args[] = {xvfb, "-displayfd", fd, "-screen", "0", std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-noreset"};
    char* argv[std::size(args) + 1] = {};
    for (size_t i = 0; i < std::size(args); ++i) argv[i] = args[i].data();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const bool spawned = posix_spawn(&server_, xvfb.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    const std::string number = spawned ? ReadDisplayNumber(pipeFds[0]) : std::string();
    close(pipeFds[0]);
    if (number.empty()) return;
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) return;
    if (const char* old = std::getenv("DISPLAY")) {
        hadDisplay_ = true;
        previousDisplay_ = old;
    }
    setenv("DISPLAY", name_.c_str(), 1);
}

VirtualDisplay::~VirtualDisplay() {
    if (display_) XCloseDisplay(Dpy(display_));
    if (server_ > 0) {
        kill(server_, SIGTERM);
        WaitForExit(server_, std::chrono::seconds(5));
    }
    if (hadDisplay_) setenv("DISPLAY", previousDisplay_.c_str(), 1);
    else if (display_) unsetenv("DISPLAY");
}

uint64_t VirtualDisplay::CreateWindow(int x, int y, int width, int height, uint32_t rgb) {
    Display* d = Dpy(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = rgb;  // TrueColor 24-bit: the pixel value is the colour
    attributes.event_mask = ExposureMask | ButtonPressMask | KeyPressMask | StructureNotifyMask;
    const ::Window window = XCreateWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                                          static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                          CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XMapWindow(d, window);
    XSync(d, False);
    return window;
}

void VirtualDisplay::ResizeWindow(uint64_t window, int width, int height) {
    XResizeWindow(Dpy(display_), window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(Dpy(display_), False);
}

void VirtualDisplay::DestroyWindow(uint64_t window) {
    XDestroyWindow(Dpy(display_), window);
    XSync(Dpy(display_), False);
}

namespace {
bool g_badWindow = false;
int NoteBadWindow(Display*, XErrorEvent*) {
    g_badWindow = true;
    return 0;
}
}  // namespace

bool VirtualDisplay::WindowSize(uint64_t window, int& width, int& height) {
    Display* d = Dpy(display_);
    g_badWindow = false;
    XErrorHandler previous = XSetErrorHandler(&NoteBadWindow);
    XWindowAttributes attributes{};
    const bool ok = XGetWindowAttributes(d, window, &attributes) != 0;
    XSync(d, False);
    XSetErrorHandler(previous);
    if (!ok || g_badWindow) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool VirtualDisplay::WindowExists(uint64_t window) {
    int width = 0, height = 0;
    return WindowSize(window, width, height);
}

bool VirtualDisplay::ReadPixel(uint64_t window, int x, int y, uint32_t& rgb) {
    Display* d = Dpy(display_);
    XWindowAttributes attributes{};
    ::Window child = 0;
    int rootX = 0, rootY = 0;
    if (!XGetWindowAttributes(d, window, &attributes) ||
        !XTranslateCoordinates(d, window, DefaultRootWindow(d), x, y, &rootX, &rootY, &child))
        return false;
    // Read from the root: what is on the screen, whoever drew it.
    XImage* image = XGetImage(d, DefaultRootWindow(d), rootX, rootY, 1, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    rgb = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return true;
}

void VirtualDisplay::MovePointer(int x, int y) {
    XTestFakeMotionEvent(Dpy(display_), -1, x, y, 0);
    XSync(Dpy(display_), False);
}

void VirtualDisplay::PressKey(const char* keysymName) {
    Display* d = Dpy(display_);
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(keysymName));
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
    XSync(d, False);
}

void VirtualDisplay::Click(int button) {
    Display* d = Dpy(display_);
    XTestFakeButtonEvent(d, static_cast<unsigned>(button), True, 0);
    XTestFakeButtonEvent(d, static_cast<unsigned>(button), False, 0);
    XSync(d, False);
}

VirtualDisplay& SharedDisplay() {
    static VirtualDisplay display;
    return display;
}

}  // namespace x11test
