// The real GTK configuration dialog and message boxes on a private X server, driven as a user
// would: widgets clicked and moved, files chosen, keys pressed.

#include <gtest/gtest.h>
// X11 names its font handle `Font`, as the engine names its bitmap font class.
#define Font X11Font
#include <gdk/gdkx.h>
#undef Font
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>

#include "clock/ClockApplication.h"
#include "platform/sys/GraphicsHelp.h"
#include "platform/ui/DialogResources.h"
#include "platform/ui/MessageBoxes.h"
#include "shell/FakeDirect3D.h"
#include "support/FakeSystem.h"
#include "support/Files.h"
#include "support/MediaResources.h"
#include "support/ScopedEnv.h"
#include "support/SkipOrFail.h"
#include "support/TempDir.h"
#include "support/x11/VirtualDisplay.h"

using namespace ui;

namespace {

bool g_noGraphics = false;

gfx::Ref<gfx::Direct3D> MakeMachine(uint32_t) {
    if (g_noGraphics) return {};
    return gfx::MakeRef<FakeDirect3D>();
}

x11test::VirtualDisplay& TestScreen() {
    static x11test::VirtualDisplay display(1024, 768);
    return display;
}

struct Search {
    std::string name;
    GtkWidget* found = nullptr;
};

void FindNamed(GtkWidget* widget, gpointer data) {
    auto* search = static_cast<Search*>(data);
    if (search->found) return;
    if (search->name == gtk_widget_get_name(widget)) {
        search->found = widget;
        return;
    }
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), &FindNamed, search);
}

// The visible widget with that name in any window.
GtkWidget* Named(const std::string& name) {
    Search search{name};
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w && !search.found; w = w->next)
        if (gtk_widget_get_visible(GTK_WIDGET(w->data))) FindNamed(GTK_WIDGET(w->data), &search);
    g_list_free(windows);
    return search.found && gtk_widget_get_mapped(search.found) ? search.found : nullptr;
}

GtkWidget* Control(int id) { return Named("control-" + std::to_string(id)); }

// What the user does, one step after another while the dialog runs; a step that returns false
// is tried again on the next tick (it waits for something to appear). After 10 s every open
// window is cancelled and the test fails.
class User {
public:
    using Step = std::function<bool()>;
    User& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    User& Click(int id) {
        return Then([id] {
            GtkWidget* w = Control(id);
            if (!w) return false;
            gtk_button_clicked(GTK_BUTTON(w));
            return true;
        });
    }
    User& Slide(int id, double value) {
        return Then([id, value] {
            GtkWidget* w = Control(id);
            if (!w) return false;
            gtk_range_set_value(GTK_RANGE(w), value);
            return true;
        });
    }
    void Start() {
        started_ = std::chrono::steady_clock::now();
        // A step may open a modal window whose loop must keep the steps going.
        source_ = g_timeout_source_new(20);
        g_source_set_callback(source_, &User::Tick, this, nullptr);
        g_source_set_can_recurse(source_, TRUE);
        g_source_attach(source_, nullptr);
    }
    ~User() {
        if (source_) {
            g_source_destroy(source_);
            g_source_unref(source_);
        }
    }
    bool Finished() const { return steps_.empty(); }

private:
    static gboolean Tick(gpointer self) {
        auto* user = static_cast<User*>(self);
        if (std::chrono::steady_clock::now() - user->started_ > std::chrono::seconds(10)) {
            ADD_FAILURE() << "the dialog did not do what was expected within 10 s";
            user->steps_.clear();
            GList* windows = gtk_window_list_toplevels();
            for (GList* w = windows; w; w = w->next) {
                if (GTK_IS_DIALOG(w->data)) gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_CANCEL);
                else gtk_window_close(GTK_WINDOW(w->data));
            }
            g_list_free(windows);
        }
        // A step leaves the queue while it runs, so that ticks inside it go on with the next ones.
        while (!user->steps_.empty()) {
            Step step = std::move(user->steps_.front());
            user->steps_.pop_front();
            if (!step()) {
                user->steps_.push_front(std::move(step));
                break;
            }
        }
        return G_SOURCE_CONTINUE;
    }

    std::deque<Step> steps_;
    std::chrono::steady_clock::time_point started_;
    GSource* source_ = nullptr;
};

class GtkDialogTest : public testing::Test {
protected:
    void SetUp() override {
        if (!TestScreen().Started()) QUELMONT_SKIP_OR_FAIL("no Xvfb on this machine");
        gfx::SetDirect3DFactory(&MakeMachine);
        g_noGraphics = false;
    }
    void TearDown() override { gfx::SetDirect3DFactory(nullptr); }

    // `quelmont /c` with `user` acting on the dialog.
    void RunDialog(User& user) {
        user.Start();
        ClockApplication app;
        ASSERT_TRUE(app.Create(nullptr, RunMode::Configure, 0));
        EXPECT_TRUE(user.Finished());
    }
    std::string Settings() const { return ReadFile(config.path() + "/quelmont/settings.ini"); }
    bool Has(const std::string& line) const { return Settings().find(line + "\n") != std::string::npos; }

    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    ScopedEnv gsettings{"GSETTINGS_BACKEND", "memory"};
    FakeSystem system;
    MediaResources media;
};

}  // namespace

TEST_F(GtkDialogTest, OkSavesWhatTheUserChanged) {
    User user;
    user.Slide(IDC_VOLUME, 30).Click(IDC_SHOW_FPS).Click(IDC_12H_STYLE).Then([] {
        // The controls show the stored state and the enabling rules.
        EXPECT_FALSE(gtk_widget_get_sensitive(Control(IDC_VIDEO_MODE_LIST)));
        EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Control(IDC_SHOW_FPS))));
        EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Control(IDC_24H_STYLE))));
        EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(Control(IDC_GAMMA_LABEL))), "Gamma Control: 100%");
        return true;
    });
    user.Click(IDC_SHOW_TIME).Then([] {
        EXPECT_FALSE(gtk_widget_get_sensitive(Control(IDC_12H_STYLE)));
        return true;
    });
    user.Click(IDC_SHOW_TIME).Click(IDOK);
    RunDialog(user);
    EXPECT_TRUE(Has("Volume=dword:0000001e")) << Settings();
    EXPECT_TRUE(Has("ShowFps=dword:00000001"));
    EXPECT_TRUE(Has("TimeStyle=dword:00000000"));
    EXPECT_TRUE(Has("ShowTime=dword:00000001"));
    EXPECT_TRUE(Has("Width=dword:00000320"));  // 800 x 600 x 32, the default mode, is listed
    EXPECT_TRUE(Has("Adapter=dword:00000000"));
}

TEST_F(GtkDialogTest, CancelAndClosingTheWindowSaveNothing) {
    User user;
    user.Slide(IDC_VOLUME, 30).Click(IDC_SHOW_FPS).Click(IDC_12H_STYLE).Click(IDCANCEL);
    RunDialog(user);
    EXPECT_EQ(Settings().find("Volume"), std::string::npos) << Settings();

    User closing;
    closing.Click(IDC_SHOW_FPS).Then([] {
        GtkWidget* ok = Control(IDOK);
        gtk_window_close(GTK_WINDOW(gtk_widget_get_toplevel(ok)));
        return true;
    });
    RunDialog(closing);
    EXPECT_EQ(Settings().find("ShowFps"), std::string::npos) << Settings();
}

TEST_F(GtkDialogTest, RestoreDefaultsThenOkStoresTheDefaults) {
    User change;
    change.Slide(IDC_VOLUME, 5).Slide(IDC_GAMMA, -60).Click(IDC_MUSIC).Click(IDOK);
    RunDialog(change);
    ASSERT_TRUE(Has("Gamma=dword:ffffffc4")) << Settings();

    User restore;
    restore.Then([] { return Control(IDC_GAMMA) != nullptr; })
        .Then([] {
            EXPECT_EQ(gtk_range_get_value(GTK_RANGE(Control(IDC_GAMMA))), -60);
            EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(Control(IDC_GAMMA_LABEL))), "Gamma Control: -60%");
            return true;
        })
        .Click(IDC_RESTORE_DEFAULTS)
        .Then([] {
            EXPECT_EQ(gtk_range_get_value(GTK_RANGE(Control(IDC_VOLUME))), 50);
            EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Control(IDC_MUSIC))));
            return true;
        })
        .Click(IDOK);
    RunDialog(restore);
    EXPECT_TRUE(Has("Volume=dword:00000032")) << Settings();
    EXPECT_TRUE(Has("Gamma=dword:00000064"));
    EXPECT_TRUE(Has("Music=dword:00000001"));
}

TEST_F(GtkDialogTest, APictureChosenInTheFileChooserIsShownAndSaved) {
    const std::string picture = config.path() + "/holiday.png";
    GdkPixbuf* pixels = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 64, 48);
    gdk_pixbuf_fill(pixels, 0x3366ccff);
    ASSERT_TRUE(gdk_pixbuf_save(pixels, picture.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixels);

    User user;
    user.Click(IDC_BROWSE)
        .Then([&] {
            GtkWidget* chooser = Named("file-chooser");
            if (!chooser) return false;
            GtkFileFilter* filter = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(chooser));
            EXPECT_STREQ(filter ? gtk_file_filter_get_name(filter) : "", "(*.jpg;*.tga;*.bmp;*.gif;*.png)");
            gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser), picture.c_str());
            return true;
        })
        .Then([&] {
            // The chooser selects a file once it has read the folder.
            GtkWidget* chooser = Named("file-chooser");
            gchar* selected = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
            const bool ready = selected && picture == selected;
            g_free(selected);
            if (ready) gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
            return ready;
        })
        .Then([&] {
            GtkWidget* path = Control(IDC_PATH);
            if (!path || picture != gtk_entry_get_text(GTK_ENTRY(path))) return false;
            EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(Named("file-preview"))), GTK_IMAGE_PIXBUF);
            return true;
        })
        .Click(IDOK);
    RunDialog(user);
    EXPECT_TRUE(Has("PhotoPath=sz:" + picture)) << Settings();
}

// A file name is bytes, and GTK shows only UTF-8: the edit box shows a readable form, and the
// bytes come back unless the user changes the text.
TEST_F(GtkDialogTest, APathThatIsNotUtf8SurvivesTheDialog) {
    const std::string picture = config.path() + "/f\xEAte \xFF.png";
    GdkPixbuf* pixels = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 16, 16);
    gdk_pixbuf_fill(pixels, 0x3366ccff);
    ASSERT_TRUE(gdk_pixbuf_save(pixels, picture.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixels);
    {
        ClockApplication app;
        app.LoadSettings();
        app.SetPhotoPath(EngineString(picture));
        ASSERT_TRUE(app.SaveSettings());
    }
    User keep;
    keep.Then([] {
            GtkWidget* path = Control(IDC_PATH);
            if (!path) return false;
            EXPECT_TRUE(g_utf8_validate(gtk_entry_get_text(GTK_ENTRY(path)), -1, nullptr));
            EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(Named("file-preview"))), GTK_IMAGE_PIXBUF);
            return true;
        })
        .Click(IDOK);
    RunDialog(keep);
    EXPECT_TRUE(Has("PhotoPath=sz:" + picture)) << Settings();

    User edit;
    edit.Then([] {
            GtkWidget* path = Control(IDC_PATH);
            if (!path) return false;
            gtk_entry_set_text(GTK_ENTRY(path), "/home/user/typed.png");
            return true;
        })
        .Click(IDOK);
    RunDialog(edit);
    EXPECT_TRUE(Has("PhotoPath=sz:/home/user/typed.png")) << Settings();
}

TEST_F(GtkDialogTest, EnterIsOkAndEscapeIsCancel) {
    auto pressWhenShown = [](const char* key) {
        return [key] {
            GtkWidget* ok = Control(IDOK);
            if (!ok) return false;
            int x = 0, y = 0;
            gdk_window_get_origin(gtk_widget_get_window(gtk_widget_get_toplevel(ok)), &x, &y);
            TestScreen().MovePointer(x + 20, y + 20);
            TestScreen().PressKey(key);
            return true;
        };
    };
    User escape;
    escape.Slide(IDC_VOLUME, 70).Then(pressWhenShown("Escape"));
    RunDialog(escape);
    EXPECT_EQ(Settings().find("Volume"), std::string::npos) << Settings();

    User enter;
    enter.Slide(IDC_VOLUME, 70).Then(pressWhenShown("Return"));
    RunDialog(enter);
    EXPECT_TRUE(Has("Volume=dword:00000046")) << Settings();
}

TEST_F(GtkDialogTest, WithoutGraphicsAMessageBoxSaysSoAndNothingIsSaved) {
    g_noGraphics = true;
    User user;
    user.Then([] {
        GtkWidget* box = Named("message-box");
        if (!box) return false;
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(box)), "Error");
        gchar* text = nullptr;
        g_object_get(box, "text", &text, nullptr);
        EXPECT_EQ(sys::PlatformGraphicsHelp().noDeviceText, text);
        g_free(text);
        gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
        return true;
    });
    RunDialog(user);
    EXPECT_EQ(Settings().find("Volume"), std::string::npos);
}

TEST_F(GtkDialogTest, TheGraphicsCheckDialogAnswersWithTheButtonChosen) {
    for (const auto& [button, expected] : {std::pair{"Graphics drivers", IDOK}, {"Cancel", IDCANCEL}}) {
        User user;
        user.Then([button = std::string(button), expected = expected] {
            GtkWidget* box = Named("message-box");
            if (!box) return false;
            EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(box)), "Dialog");
            int x = 0, y = 0;
            gtk_window_get_position(GTK_WINDOW(box), &x, &y);
            EXPECT_EQ(x, 300);
            EXPECT_EQ(y, 300);
            GtkWidget* chosen = gtk_dialog_get_widget_for_response(GTK_DIALOG(box), expected);
            if (!chosen) {
                ADD_FAILURE() << "no button for " << expected;
                gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_CANCEL);
                return true;
            }
            EXPECT_EQ(button, gtk_button_get_label(GTK_BUTTON(chosen)));
            gtk_button_clicked(GTK_BUTTON(chosen));
            return true;
        });
        user.Start();
        EXPECT_EQ(ui::ShowDirectXDialog("An OpenGL 3.3 driver is required", "Graphics drivers"), expected);
        EXPECT_TRUE(user.Finished());
    }
}

TEST_F(GtkDialogTest, AMessageBoxShowsItsTextAndCaption) {
    User user;
    user.Then([] {
        GtkWidget* box = Named("message-box");
        if (!box) return false;
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(box)), "");
        gchar* text = nullptr;
        g_object_get(box, "text", &text, nullptr);
        // Text that is not UTF-8 is shown with replacement characters, not dropped.
        EXPECT_STREQ(text, "неправильный формат \xEF\xBF\xBD");
        g_free(text);
        gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
        return true;
    });
    user.Start();
    ui::ShowMessageBox("неправильный формат \xFF", "");
    EXPECT_TRUE(user.Finished());
}

TEST_F(GtkDialogTest, TheDialogStaysAboveTheWindowGivenOnTheCommandLine) {
    const uint64_t owner = TestScreen().CreateWindow(0, 0, 200, 100, 0x202020);
    ::Window transientFor = 0;
    User user;
    user.Then([&] {
        GtkWidget* ok = Control(IDOK);
        if (!ok) return false;
        GdkWindow* dialog = gtk_widget_get_window(gtk_widget_get_toplevel(ok));
        XGetTransientForHint(GDK_DISPLAY_XDISPLAY(gdk_window_get_display(dialog)), GDK_WINDOW_XID(dialog), &transientFor);
        return true;
    });
    user.Click(IDCANCEL).Start();
    ClockApplication app;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Configure, static_cast<uint32_t>(owner)));
    EXPECT_EQ(transientFor, owner);
    TestScreen().DestroyWindow(owner);
}
