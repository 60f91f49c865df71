#pragma once
// A private X server (Xvfb) for the tests of one process, and the calls with which a test plays
// another program (windows it owns) or the user (keys, pointer, clicks) on it.

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace x11test {

class VirtualDisplay {
public:
    // Starts Xvfb with a screen of the given size and points DISPLAY at it. Started() is false
    // when there is no Xvfb.
    explicit VirtualDisplay(int width = 640, int height = 480);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Started() const { return display_ != nullptr; }
    const std::string& Name() const { return name_; }

    // A mapped top-level window filled with `rgb` (0xRRGGBB) that this connection owns.
    uint64_t CreateWindow(int x, int y, int width, int height, uint32_t rgb);
    void ResizeWindow(uint64_t window, int width, int height);
    void DestroyWindow(uint64_t window);
    bool WindowExists(uint64_t window);
    bool WindowSize(uint64_t window, int& width, int& height);
    // The colour (0xRRGGBB) on the screen at (x, y) of the window's area.
    bool ReadPixel(uint64_t window, int x, int y, uint32_t& rgb);

    void MovePointer(int x, int y);
    // Presses and releases the key with the given keysym name ("a", "Escape", "F3").
    void PressKey(const char* keysymName);
    void Click(int button);

private:
    void* display_ = nullptr;  // Display*
    pid_t server_ = 0;
    std::string name_;
    std::string previousDisplay_;
    bool hadDisplay_ = false;
};

// One display for the whole test process, started on first use.
VirtualDisplay& SharedDisplay();

}  // namespace x11test
