#include "shell/ConfigDialog.h"

#include <string>

#include "common/Log.h"
#include "platform/gfx/Direct3D.h"
#include "platform/sys/GraphicsHelp.h"
#include "platform/sys/Resources.h"
#include "platform/sys/System.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogResources.h"
#include "shell/Application.h"
#include "shell/DeviceEnumeration.h"
#include "shell/SettingsTable.h"

using namespace ui;

namespace {

constexpr const char* kErrorCaption = "Error";
constexpr const char* kNotSavedText = "The settings could not be saved. Check that the settings folder can be written.";
constexpr const char* kProjectPage = QUELMONT_PROJECT_PAGE;


struct Caption {
    int id;
    const char* key;
};

constexpr Caption kCaptions[] = {
    {IDC_VIDEO_MODE_GROUP, "video_mode_selection"},
    {IDC_USE_DESKTOP, "use_desktop_settings"},
    {IDC_SOUND_GROUP, "sound_control"},
    {IDC_VOLUME_LABEL, "master_volume:"},
    {IDC_MUSIC, "enable_music"},
    {IDC_SOUND, "enable_sfx"},
    {IDC_GRAPHICS_GROUP, "graphics"},
    {IDC_MISC_GROUP, "misc_options"},
    {IDC_SHOW_FPS, "show_fps"},
    {IDC_EXIT_ON_MOUSE_MOVE, "exit_on_mouse_move"},
    {IDC_SHOW_TIME, "show_time"},
    {IDC_24H_STYLE, "24h_style"},
    {IDC_12H_STYLE, "12h_style"},
    {IDC_PICTURE_GROUP, "put_your_picture_in_the_frame"},
    {IDC_BROWSE, "browse"},
    {IDC_PATH_LABEL, "path"},
    {IDC_RESTORE_PICTURE, "restore_default_picture"},
    {IDC_PRODUCTS_GROUP, "products"},
    {IDC_VISIT_LABEL, "visit_our_official_web-site_for_more_great_3d_screensavers"},
    {IDC_VISIT, "visit..."},
    {IDC_RESTORE_DEFAULTS, "restore_defaults"},
    {IDOK, "ok"},
    {IDCANCEL, "cancel"},
};

// Check boxes, each writing one switch of the record.
bool SettingsRecord::*SwitchOf(int id) {
    switch (id) {
        case IDC_USE_DESKTOP: return &SettingsRecord::UseDesktop;
        case IDC_MUSIC: return &SettingsRecord::Music;
        case IDC_SOUND: return &SettingsRecord::Sound;
        case IDC_SHOW_FPS: return &SettingsRecord::ShowFps;
        case IDC_EXIT_ON_MOUSE_MOVE: return &SettingsRecord::ExitOnMM;
        case IDC_SHOW_TIME: return &SettingsRecord::ShowTime;
        default: return nullptr;
    }
}

// A slider's range and position from the setting's entry in the settings table.
void ShowSlider(Dialog& dialog, int id, int32_t SettingsRecord::*member, const SettingsRecord& settings) {
    for (const SettingField& field : kSettingFields) {
        if (field.number != member) continue;
        dialog.SetSliderRange(id, field.min, field.max);
        dialog.SetSliderPos(id, field.Get(settings));
    }
}

}  // namespace

intptr_t ConfigDialog::HandleMessage(Dialog& dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    switch (message) {
        case WM_INITDIALOG: Init(dialog); return 1;
        case WM_COMMAND: return HighWord(wParam) == BN_CLICKED && OnCommand(dialog, LowWord(wParam));
        case WM_HSCROLL:
            if (lParam == IDC_VOLUME) {
                app_.settings.Volume = dialog.GetSliderPos(IDC_VOLUME);
                return 1;
            }
            if (lParam == IDC_GAMMA) {
                app_.settings.Gamma = dialog.GetSliderPos(IDC_GAMMA);
                ShowGamma(dialog);
                return 1;
            }
            return 0;
        default: return 0;
    }
}

void ConfigDialog::Init(Dialog& dialog) {
    for (const Caption& caption : kCaptions) dialog.SetItemText(caption.id, app_.GetUiText(caption.key).view());
    dialog.SetCaption(app_.GetUiText("screensaver_configuration").view());
    dialog.SetItemPicture(IDC_CORNER_PICTURE, sys::GetResources().Find("BITMAP", kCornerBitmap));
    if (!FillVideoModes(dialog)) {
        dialog.MessageBox(sys::PlatformGraphicsHelp().noDeviceText, kErrorCaption);
        dialog.End(0);
        return;
    }
    ShowSettings(dialog);
}

bool ConfigDialog::FillVideoModes(Dialog& dialog) {
    gfx::Ref<gfx::Direct3D> d3d = gfx::Direct3DCreate9(gfx::D3D_SDK_VERSION);
    if (!d3d) return false;
    DeviceEnumeration enumeration;
    enumeration.Enumerate(d3d.get());
    modes_.clear();
    for (const AdapterInfo& adapter : enumeration.Adapters())
        if (adapter.ordinal == 0) modes_ = BuildVideoModeList(adapter.displayModes);
    dialog.ClearList(IDC_VIDEO_MODE_LIST);
    for (const VideoModeEntry& entry : modes_) dialog.AddListEntry(IDC_VIDEO_MODE_LIST, entry.text);
    // Only a saver run records the desktop; here the graphics object tells it.
    if (RecordedDesktopMode().width == 0) {
        gfx::D3DDISPLAYMODE current;
        if (d3d->GetAdapterDisplayMode(0, current) == gfx::D3D_OK)
            RecordDesktopMode({current.Width, current.Height, current.RefreshRate, current.Format});
    }
    return true;
}

void ConfigDialog::ShowSettings(Dialog& dialog) {
    const SettingsRecord& s = app_.settings;
    ShowSlider(dialog, IDC_VOLUME, &SettingsRecord::Volume, s);
    ShowSlider(dialog, IDC_GAMMA, &SettingsRecord::Gamma, s);
    ShowGamma(dialog);
    for (int id : {IDC_USE_DESKTOP, IDC_MUSIC, IDC_SOUND, IDC_SHOW_FPS, IDC_EXIT_ON_MOUSE_MOVE, IDC_SHOW_TIME})
        dialog.CheckItem(id, s.*SwitchOf(id));
    dialog.CheckItem(IDC_24H_STYLE, s.TimeStyle);
    dialog.CheckItem(IDC_12H_STYLE, !s.TimeStyle);
    dialog.SetListSelection(IDC_VIDEO_MODE_LIST, ChooseVideoMode(modes_, s, RecordedDesktopMode()));
    UpdateEnabling(dialog);
}

void ConfigDialog::ShowGamma(Dialog& dialog) {
    const std::string label = std::string(app_.GetUiText("gamma_control:").view()) + " " +
                              std::to_string(app_.settings.Gamma) + "%";
    dialog.SetItemText(IDC_GAMMA_LABEL, label);
}

void ConfigDialog::UpdateEnabling(Dialog& dialog) {
    const SettingsRecord& s = app_.settings;
    dialog.EnableItem(IDC_VIDEO_MODE_LIST, !s.UseDesktop);
    const bool sound = s.Music || s.Sound;
    dialog.EnableItem(IDC_VOLUME, sound);
    dialog.EnableItem(IDC_VOLUME_LABEL, sound);
    dialog.EnableItem(IDC_24H_STYLE, s.ShowTime);
    dialog.EnableItem(IDC_12H_STYLE, s.ShowTime);
}

bool ConfigDialog::OnCommand(Dialog& dialog, int id) {
    SettingsRecord& s = app_.settings;
    if (bool SettingsRecord::*member = SwitchOf(id)) {
        s.*member = dialog.IsItemChecked(id);
        UpdateEnabling(dialog);
        return true;
    }
    switch (id) {
        case IDC_24H_STYLE: s.TimeStyle = dialog.IsItemChecked(IDC_24H_STYLE); return true;
        case IDC_12H_STYLE: s.TimeStyle = !dialog.IsItemChecked(IDC_12H_STYLE); return true;
        case IDC_RESTORE_DEFAULTS:
            app_.LoadDefaults();
            ShowSettings(dialog);
            return true;
        case IDC_VISIT:
            if (!sys::GetSystem().ShellOpen(kProjectPage)) Log("Could not open the project page\n");
            return true;
        case IDOK: OnOk(dialog); return true;
        case IDCANCEL: dialog.End(IDCANCEL); return true;
        default: return false;
    }
}

void ConfigDialog::OnOk(Dialog& dialog) {
    SettingsRecord& s = app_.settings;
    const int selected = dialog.GetListSelection(IDC_VIDEO_MODE_LIST);
    // With nothing selected (no listed mode) the stored mode stays as it was.
    if (selected >= 0 && selected < static_cast<int>(modes_.size())) {
        s.Width = static_cast<int32_t>(modes_[static_cast<size_t>(selected)].width);
        s.Height = static_cast<int32_t>(modes_[static_cast<size_t>(selected)].height);
        s.Depth = static_cast<int32_t>(modes_[static_cast<size_t>(selected)].bits);
    }
    s.Adapter = 0;
    if (!app_.SaveSettings()) {
        // Nothing is lost: the dialog stays open for another try or Cancel.
        dialog.MessageBox(kNotSavedText, kErrorCaption);
        return;
    }
    dialog.End(IDOK);
}
