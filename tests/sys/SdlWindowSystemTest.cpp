// The SDL window layer offscreen: classes, the queue, timers and key translation.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/sys/Window.h"
#include "platform/sys/linux/SdlVirtualKeys.h"

namespace {

std::vector<sys::Message> g_seen;

// Constant-initialised, so destroyed after every function static when exit() runs, as the
// program's application object is.
std::unique_ptr<sys::Window> g_heldUntilExit;

sys::LResult Record(sys::WindowHandle window, uint32_t message, sys::WParam w, sys::LParam l) {
    g_seen.push_back({window, message, w, l});
    return 7;
}

SDL_Keysym Key(SDL_Scancode scancode, SDL_Keycode sym) {
    SDL_Keysym key{};
    key.scancode = scancode;
    key.sym = sym;
    return key;
}

}  // namespace

TEST(SdlVirtualKeys, LettersFollowTheLayoutOtherKeysThePosition) {
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_Q, SDLK_a)), uint32_t{'A'});  // AZERTY's A
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_1, SDLK_1)), uint32_t{'1'});
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)), sys::VK_ESCAPE);
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_SPACE, SDLK_SPACE)), sys::VK_SPACE);
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_F2, SDLK_F2)), sys::VK_F2);
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_F3, SDLK_F3)), sys::VK_F3);
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_F6, SDLK_F6)), sys::VK_F6);
    EXPECT_EQ(sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_KP_5, SDLK_KP_5)), sys::VK_NUMPAD0 + 5);
    // A key without a name of its own still counts as a key, and is none of F2, F3, F6.
    const uint32_t other = sys::VirtualKeyFromSdl(Key(SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT));
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, sys::VK_F2);
    EXPECT_NE(other, sys::VK_F3);
    EXPECT_NE(other, sys::VK_F6);
}

TEST(SdlWindowSystem, QueueTimersAndTranslatedEventsReachTheClassProcedure) {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    ASSERT_NE(windows.RegisterClass({"Test Class", 0, &Record}), 0);
    EXPECT_EQ(windows.RegisterClass({"Test Class", 0, &Record}), 0);  // known name
    sys::WindowParams params{"Test Class", "test", sys::WS_POPUP, {0, 0, 64, 48}, 0};
    auto window = windows.CreateWindow(params);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->GetClientRect(), (sys::Rect{0, 0, 64, 48}));
    EXPECT_EQ(windows.CreateWindow({"No Such Class", "", 0, {0, 0, 1, 1}, 0}), nullptr);

    g_seen.clear();
    windows.PostMessage(window.get(), sys::WM_USER, 1, 2);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(window->NativeHandle()));
    key.key.keysym = Key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    SDL_PushEvent(&key);
    sys::Message message;
    while (windows.PeekMessage(message, window.get())) EXPECT_EQ(windows.DispatchMessage(message), 7);
    bool sawUser = false, sawEscape = false;
    for (const auto& m : g_seen) {
        sawUser |= m.message == sys::WM_USER && m.wParam == 1 && m.lParam == 2;
        sawEscape |= m.message == sys::WM_KEYDOWN && m.wParam == sys::VK_ESCAPE;
    }
    EXPECT_TRUE(sawUser);
    EXPECT_TRUE(sawEscape);

    // A timer arrives through the blocking read; killing it stops it.
    ASSERT_TRUE(windows.SetTimer(window.get(), 1, 20));
    const Uint64 start = SDL_GetTicks64();
    do {
        ASSERT_EQ(windows.GetMessage(message, window.get()), 1);
    } while (message.message != sys::WM_TIMER);
    EXPECT_GE(SDL_GetTicks64() - start, 19u);
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_TRUE(windows.KillTimer(window.get(), 1));
    EXPECT_FALSE(windows.KillTimer(window.get(), 1));

    // The quit message ends a blocking read with 0.
    windows.PostQuitMessage(0);
    EXPECT_EQ(windows.GetMessage(message, window.get()), 0);

    // Once freed, a window receives nothing more.
    sys::Window* gone = window.get();
    window.reset();
    EXPECT_FALSE(windows.PostMessage(gone, sys::WM_USER, 0, 0));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(SdlWindowSystem, AWindowFreedByExitAfterTheSystemsStaticsDoesNotReachFreedMemory) {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    windows.RegisterClass({"Held Class", 0, &Record});
    EXPECT_EXIT(
        {
            g_heldUntilExit = windows.CreateWindow({"Held Class", "held", sys::WS_POPUP, {0, 0, 8, 8}, 0});
            if (!g_heldUntilExit) std::_Exit(3);
            windows.PostMessage(g_heldUntilExit.get(), sys::WM_USER, 0, 0);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}
