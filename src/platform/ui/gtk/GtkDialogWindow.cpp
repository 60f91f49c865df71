#include "platform/ui/gtk/GtkDialogWindow.h"

#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>

#include <cmath>
#include <vector>

#include "platform/ui/DialogResources.h"
#include "platform/ui/gtk/GtkSession.h"

namespace ui::gtk {
namespace {

constexpr const char* kIdKey = "quelmont-control-id";

int IdOf(GtkWidget* widget) { return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), kIdKey)); }

// "name|patterns|name|patterns|": each pair becomes a filter of the chooser.
void AddFilters(GtkFileChooser* chooser, std::string_view filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = filter.find('|'); bar != std::string_view::npos; bar = filter.find('|', start)) {
        parts.emplace_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        GtkFileFilter* fileFilter = gtk_file_filter_new();
        gtk_file_filter_set_name(fileFilter, DisplayText(parts[i]).c_str());
        size_t from = 0;
        const std::string& patterns = parts[i + 1];
        while (from <= patterns.size()) {
            const size_t semicolon = std::min(patterns.find(';', from), patterns.size());
            const std::string pattern = patterns.substr(from, semicolon - from);
            if (!pattern.empty()) {
                // Picture names from other systems are often in capitals.
                gchar* upper = g_ascii_strup(pattern.c_str(), -1);
                gtk_file_filter_add_pattern(fileFilter, pattern.c_str());
                gtk_file_filter_add_pattern(fileFilter, upper);
                g_free(upper);
            }
            from = semicolon + 1;
        }
        gtk_file_chooser_add_filter(chooser, fileFilter);
    }
}

}  // namespace

// Silences controls' notifications while the program itself sets them.
struct GtkDialogWindow::Blocked {
    explicit Blocked(std::vector<const Control*> controls) : controls_(std::move(controls)) {
        for (const Control* c : controls_)
            if (c->handler) g_signal_handler_block(c->widget, c->handler);
    }
    ~Blocked() {
        for (const Control* c : controls_)
            if (c->handler) g_signal_handler_unblock(c->widget, c->handler);
    }
    Blocked(const Blocked&) = delete;
    Blocked& operator=(const Blocked&) = delete;
    std::vector<const Control*> controls_;
};

GtkDialogWindow::GtkDialogWindow(const DialogProc& proc, uint64_t owner)
    : proc_(proc), owner_(owner), window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)) {
    g_object_ref_sink(window_);
    gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_CENTER);
    g_signal_connect(window_, "delete-event", G_CALLBACK(&GtkDialogWindow::OnDelete), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(&GtkDialogWindow::OnKeyPress), this);
}

GtkDialogWindow::~GtkDialogWindow() {
    gtk_widget_destroy(window_);
    g_object_unref(window_);
    FlushEvents();
}

GtkWidget* GtkDialogWindow::Register(int id, GtkWidget* widget, const char* signal, GCallback callback) {
    g_object_set_data(G_OBJECT(widget), kIdKey, GINT_TO_POINTER(id));
    const std::string name = "control-" + std::to_string(id);
    gtk_widget_set_name(widget, name.c_str());
    Control control;
    control.widget = widget;
    if (signal) control.handler = g_signal_connect(widget, signal, callback, this);
    controls_[id] = std::move(control);
    return widget;
}

GtkWidget* GtkDialogWindow::Find(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second.widget;
}

GtkWidget* GtkDialogWindow::AddGroup(int id, const char* caption, GtkWidget* content) {
    GtkWidget* frame = gtk_frame_new(caption);
    gtk_container_add(GTK_CONTAINER(frame), content);
    return Register(id, frame, nullptr, nullptr);
}

GtkWidget* GtkDialogWindow::AddLabel(int id, const char* caption) {
    GtkWidget* label = gtk_label_new(caption);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    return Register(id, label, nullptr, nullptr);
}

GtkWidget* GtkDialogWindow::AddButton(int id, const char* caption) {
    return Register(id, gtk_button_new_with_label(caption), "clicked", G_CALLBACK(&GtkDialogWindow::OnClicked));
}

GtkWidget* GtkDialogWindow::AddCheckBox(int id, const char* caption) {
    return Register(id, gtk_check_button_new_with_label(caption), "toggled", G_CALLBACK(&GtkDialogWindow::OnClicked));
}

GtkWidget* GtkDialogWindow::AddRadioButton(int id, const char* caption, int previous) {
    GtkWidget* before = previous < 0 ? nullptr : Find(previous);
    GtkWidget* radio = before ? gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(before), caption)
                              : gtk_radio_button_new_with_label(nullptr, caption);
    return Register(id, radio, "toggled", G_CALLBACK(&GtkDialogWindow::OnToggled));
}

GtkWidget* GtkDialogWindow::AddSlider(int id) {
    GtkWidget* scale = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, 0, 100, 1);
    gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
    gtk_range_set_increments(GTK_RANGE(scale), 1, 10);
    gtk_range_set_round_digits(GTK_RANGE(scale), 0);
    return Register(id, scale, "value-changed", G_CALLBACK(&GtkDialogWindow::OnSliderMoved));
}

GtkWidget* GtkDialogWindow::AddDropDownList(int id) {
    return Register(id, gtk_combo_box_text_new(), nullptr, nullptr);
}

GtkWidget* GtkDialogWindow::AddEditBox(int id) {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    return Register(id, entry, nullptr, nullptr);
}

GtkWidget* GtkDialogWindow::AddPicture(int id) { return Register(id, gtk_image_new(), nullptr, nullptr); }

GtkWidget* GtkDialogWindow::AddFilePreview(int editId, int width, int height) {
    preview_ = gtk_image_new();
    gtk_widget_set_size_request(preview_, width, height);
    gtk_widget_set_name(preview_, "file-preview");
    previewEdit_ = editId;
    previewWidth_ = width;
    previewHeight_ = height;
    if (GtkWidget* edit = Find(editId)) g_signal_connect(edit, "changed", G_CALLBACK(&GtkDialogWindow::OnEditChanged), this);
    // Without a picture the frame keeps its own: say so rather than show an empty box.
    previewEmpty_ = gtk_label_new("No picture");
    gtk_widget_set_sensitive(previewEmpty_, FALSE);
    gtk_widget_set_no_show_all(previewEmpty_, TRUE);
    gtk_widget_show(previewEmpty_);
    GtkWidget* overlay = gtk_overlay_new();
    gtk_container_add(GTK_CONTAINER(overlay), preview_);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), previewEmpty_);
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(frame), overlay);
    return frame;
}

void GtkDialogWindow::SetContent(GtkWidget* content) { gtk_container_add(GTK_CONTAINER(window_), content); }

intptr_t GtkDialogWindow::Run() {
    if (Cancelled()) return -1;
    Send(WM_INITDIALOG, 0, 0);
    if (ended_) return result_;
    gtk_widget_show_all(window_);
    AttachToOwner();
    if (GtkWidget* ok = Find(IDOK)) {
        gtk_widget_set_can_default(ok, TRUE);
        gtk_widget_grab_default(ok);
    }
    while (!ended_) gtk_main_iteration();
    gtk_widget_hide(window_);
    return result_;
}

void GtkDialogWindow::AttachToOwner() {
    GdkDisplay* display = gtk_widget_get_display(window_);
    if (owner_ == 0 || !GDK_IS_X11_DISPLAY(display)) return;
    gdk_x11_display_error_trap_push(display);
    GdkWindow* owner = gdk_x11_window_foreign_new_for_display(display, static_cast<::Window>(owner_));
    if (owner) {
        gdk_window_set_transient_for(gtk_widget_get_window(window_), owner);
        g_object_unref(owner);
    }
    gdk_x11_display_error_trap_pop_ignored(display);
}

void GtkDialogWindow::Send(uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    proc_(*this, message, wParam, lParam);
}

void GtkDialogWindow::OnClicked(GtkWidget* widget, gpointer self) {
    static_cast<GtkDialogWindow*>(self)->Send(WM_COMMAND, CommandParam(IdOf(widget)), 0);
}

void GtkDialogWindow::OnToggled(GtkWidget* widget, gpointer self) {
    // The radio button that was chosen reports the click; the one that went off does not.
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget))) OnClicked(widget, self);
}

void GtkDialogWindow::OnSliderMoved(GtkWidget* widget, gpointer self) {
    static_cast<GtkDialogWindow*>(self)->Send(WM_HSCROLL, 0, IdOf(widget));
}

gboolean GtkDialogWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<GtkDialogWindow*>(self)->Send(WM_COMMAND, CommandParam(IDCANCEL), 0);
    return TRUE;  // the dialog procedure decides when the window goes
}

gboolean GtkDialogWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* dialog = static_cast<GtkDialogWindow*>(self);
    if (event->keyval == GDK_KEY_Escape) {
        dialog->Send(WM_COMMAND, CommandParam(IDCANCEL), 0);
        return TRUE;
    }
    if (event->keyval != GDK_KEY_Return && event->keyval != GDK_KEY_KP_Enter && event->keyval != GDK_KEY_ISO_Enter)
        return FALSE;
    // A focused push button takes Enter itself; from anywhere else Enter means OK.
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog->window_));
    if (focus && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus)) return FALSE;
    GtkWidget* ok = dialog->Find(IDOK);
    if (!ok || !gtk_widget_is_sensitive(ok)) return FALSE;
    dialog->Send(WM_COMMAND, CommandParam(IDOK), 0);
    return TRUE;
}

void GtkDialogWindow::OnEditChanged(GtkWidget*, gpointer self) { static_cast<GtkDialogWindow*>(self)->UpdateFilePreview(); }

void GtkDialogWindow::UpdateFilePreview() {
    if (!preview_) return;
    const std::string path = GetItemText(previewEdit_);
    GdkPixbuf* picture = nullptr;
    if (!path.empty() && g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR))
        picture = gdk_pixbuf_new_from_file_at_scale(path.c_str(), previewWidth_, previewHeight_, TRUE, nullptr);
    if (picture) {
        gtk_image_set_from_pixbuf(GTK_IMAGE(preview_), picture);
        g_object_unref(picture);
    } else {
        gtk_image_clear(GTK_IMAGE(preview_));
    }
    gtk_widget_set_visible(previewEmpty_, picture == nullptr);
}

void GtkDialogWindow::SetCaption(std::string_view text) {
    gtk_window_set_title(GTK_WINDOW(window_), DisplayText(text).c_str());
}

void GtkDialogWindow::SetItemText(int id, std::string_view text) {
    GtkWidget* widget = Find(id);
    if (!widget) return;
    const std::string shown = DisplayText(text);
    if (GTK_IS_LABEL(widget)) gtk_label_set_text(GTK_LABEL(widget), shown.c_str());
    else if (GTK_IS_ENTRY(widget)) {
        Control& control = controls_.at(id);
        control.setBytes = text;
        control.shownText = shown;
        gtk_entry_set_text(GTK_ENTRY(widget), shown.c_str());
    } else if (GTK_IS_BUTTON(widget)) gtk_button_set_label(GTK_BUTTON(widget), shown.c_str());
    else if (GTK_IS_FRAME(widget)) gtk_frame_set_label(GTK_FRAME(widget), shown.c_str());
}

std::string GtkDialogWindow::GetItemText(int id) const {
    GtkWidget* widget = Find(id);
    const char* text = nullptr;
    if (!widget) return {};
    if (GTK_IS_LABEL(widget)) text = gtk_label_get_text(GTK_LABEL(widget));
    else if (GTK_IS_ENTRY(widget)) {
        text = gtk_entry_get_text(GTK_ENTRY(widget));
        const Control& control = controls_.at(id);
        if (control.shownText == text) return control.setBytes;
    } else if (GTK_IS_BUTTON(widget)) text = gtk_button_get_label(GTK_BUTTON(widget));
    else if (GTK_IS_FRAME(widget)) text = gtk_frame_get_label(GTK_FRAME(widget));
    return text ? text : "";
}

void GtkDialogWindow::EnableItem(int id, bool enabled) {
    if (GtkWidget* widget = Find(id)) gtk_widget_set_sensitive(widget, enabled);
}

void GtkDialogWindow::CheckItem(int id, bool checked) {
    GtkWidget* widget = Find(id);
    if (!widget || !GTK_IS_TOGGLE_BUTTON(widget)) return;
    // Choosing one radio button turns its partner off: no notification from either.
    std::vector<const Control*> silenced{&controls_.at(id)};
    if (GTK_IS_RADIO_BUTTON(widget)) {
        for (GSList* member = gtk_radio_button_get_group(GTK_RADIO_BUTTON(widget)); member; member = member->next)
            silenced.push_back(&controls_.at(IdOf(GTK_WIDGET(member->data))));
    }
    Blocked blocked(std::move(silenced));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), checked);
}

bool GtkDialogWindow::IsItemChecked(int id) const {
    GtkWidget* widget = Find(id);
    return widget && GTK_IS_TOGGLE_BUTTON(widget) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
}

void GtkDialogWindow::SetSliderRange(int id, int minimum, int maximum) {
    GtkWidget* widget = Find(id);
    if (!widget || !GTK_IS_RANGE(widget)) return;
    Blocked blocked({&controls_.at(id)});
    gtk_range_set_range(GTK_RANGE(widget), minimum, maximum);
}

void GtkDialogWindow::SetSliderPos(int id, int position) {
    GtkWidget* widget = Find(id);
    if (!widget || !GTK_IS_RANGE(widget)) return;
    Blocked blocked({&controls_.at(id)});
    gtk_range_set_value(GTK_RANGE(widget), position);
}

int GtkDialogWindow::GetSliderPos(int id) const {
    GtkWidget* widget = Find(id);
    if (!widget || !GTK_IS_RANGE(widget)) return 0;
    return static_cast<int>(std::lround(gtk_range_get_value(GTK_RANGE(widget))));
}

void GtkDialogWindow::ClearList(int id) {
    if (GtkWidget* widget = Find(id); widget && GTK_IS_COMBO_BOX_TEXT(widget))
        gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(widget));
}

void GtkDialogWindow::AddListEntry(int id, std::string_view text) {
    if (GtkWidget* widget = Find(id); widget && GTK_IS_COMBO_BOX_TEXT(widget))
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget), DisplayText(text).c_str());
}

void GtkDialogWindow::SetListSelection(int id, int index) {
    if (GtkWidget* widget = Find(id); widget && GTK_IS_COMBO_BOX(widget))
        gtk_combo_box_set_active(GTK_COMBO_BOX(widget), index);
}

int GtkDialogWindow::GetListSelection(int id) const {
    GtkWidget* widget = Find(id);
    return widget && GTK_IS_COMBO_BOX(widget) ? gtk_combo_box_get_active(GTK_COMBO_BOX(widget)) : -1;
}

void GtkDialogWindow::SetItemPicture(int id, std::span<const uint8_t> bitmap) {
    GtkWidget* widget = Find(id);
    if (!widget || !GTK_IS_IMAGE(widget) || bitmap.empty()) return;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool read = gdk_pixbuf_loader_write(loader, bitmap.data(), bitmap.size(), nullptr) &&
                      gdk_pixbuf_loader_close(loader, nullptr);
    if (!read) gdk_pixbuf_loader_close(loader, nullptr);
    if (GdkPixbuf* picture = read ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr) {
        gtk_image_set_from_pixbuf(GTK_IMAGE(widget), picture);
        gtk_window_set_icon(GTK_WINDOW(window_), picture);
    }
    g_object_unref(loader);
}

bool GtkDialogWindow::ChooseFileToOpen(std::string_view filter, std::string& path) {
    GtkWidget* chooser = gtk_file_chooser_dialog_new(nullptr, GTK_WINDOW(window_), GTK_FILE_CHOOSER_ACTION_OPEN,
                                                     "_Cancel", GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT,
                                                     nullptr);
    g_object_ref_sink(chooser);
    gtk_widget_set_name(chooser, "file-chooser");
    gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);
    AddFilters(GTK_FILE_CHOOSER(chooser), filter);
    if (!path.empty() && g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR))
        gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser), path.c_str());
    bool chosen = false;
    while (!chosen && gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        gchar* file = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        // Only a file that exists can be taken.
        if (file && g_file_test(file, G_FILE_TEST_IS_REGULAR)) {
            path = file;
            chosen = true;
        }
        g_free(file);
    }
    gtk_widget_destroy(chooser);
    g_object_unref(chooser);
    FlushEvents();
    return chosen;
}

void GtkDialogWindow::MessageBox(std::string_view text, std::string_view caption) {
    GtkWindow* parent = gtk_widget_get_visible(window_) ? GTK_WINDOW(window_) : nullptr;
    GtkWidget* box = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s",
                                            DisplayText(text).c_str());
    gtk_window_set_title(GTK_WINDOW(box), DisplayText(caption).c_str());
    gtk_widget_set_name(box, "message-box");
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    FlushEvents();
}

void GtkDialogWindow::End(intptr_t result) {
    ended_ = true;
    result_ = result;
}

}  // namespace ui::gtk
