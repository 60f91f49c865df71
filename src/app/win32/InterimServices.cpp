// What quelmont.scr uses until the Windows sound library, settings store and dialogs exist: no
// sound device (the saver's silent path), no stored settings (the defaults; nothing is
// written), no configuration dialog (its box says so). Linked after the platform layer, so each
// goes as soon as the layer defines its own.

#include "platform/audio/SoundLibrary.h"
#include "platform/sys/SettingsStore.h"
#include "platform/ui/Dialog.h"

namespace audio {
namespace {

class NoSoundDevice final : public SoundLibrary {
public:
    bool Init(int, uint32_t, uint32_t, uintptr_t, const void*) override { return false; }
    bool Free() override { return true; }
    bool Set3DFactors(float, float, float) override { return false; }
    void Apply3D() override {}
    bool SetConfig(uint32_t, uint32_t) override { return false; }
    Handle SampleLoad(bool, const void*, uint64_t, uint32_t, uint32_t, uint32_t) override { return 0; }
    Handle SampleGetChannel(Handle, bool) override { return 0; }
    bool ChannelPlay(Handle, bool) override { return false; }
    bool ChannelSetAttributes(Handle, int, int, int) override { return false; }
    bool ChannelSet3DAttributes(Handle, int, float, float, int, int, int) override { return false; }
    bool ChannelSet3DPosition(Handle, const Vector3*, const Vector3*, const Vector3*) override { return false; }
    bool Set3DPosition(const Vector3*, const Vector3*, const Vector3*, const Vector3*) override { return false; }
};

SoundLibrary* replacement = nullptr;

}  // namespace

SoundLibrary& GetSoundLibrary() {
    static NoSoundDevice none;
    return replacement ? *replacement : none;
}

void SetSoundLibrary(SoundLibrary* library) { replacement = library; }

}  // namespace audio

namespace sys {
namespace {

class NoSettings final : public SettingsStore {
public:
    std::unique_ptr<SettingsKey> OpenKey(std::string_view, KeyAccess) override { return nullptr; }
};

}  // namespace

SettingsStore& PlatformSettingsStore() {
    static NoSettings store;
    return store;
}

}  // namespace sys

namespace ui {
namespace {

class NoDialogs final : public DialogSystem {
public:
    bool Available() override { return false; }
    intptr_t RunModal(int, uint64_t, const DialogProc&) override { return -1; }
};

}  // namespace

DialogSystem& PlatformDialogSystem() {
    static NoDialogs dialogs;
    return dialogs;
}

}  // namespace ui
