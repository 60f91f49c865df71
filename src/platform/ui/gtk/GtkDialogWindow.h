#pragma once
// A modal GTK window that behaves as the platform's dialogs do: controls addressed by id,
// notifications sent to the dialog procedure, Enter for OK and Escape for Cancel. The layout of
// each dialog resource adds the controls (ConfigDialogLayout).

#include <gtk/gtk.h>

#include <map>
#include <string>

#include "platform/ui/Dialog.h"

namespace ui::gtk {

class GtkDialogWindow final : public Dialog {
public:
    GtkDialogWindow(const DialogProc& proc, uint64_t owner);
    ~GtkDialogWindow() override;
    GtkDialogWindow(const GtkDialogWindow&) = delete;
    GtkDialogWindow& operator=(const GtkDialogWindow&) = delete;

    // Controls, each made with its resource caption; the caller places the returned widget.
    GtkWidget* AddGroup(int id, const char* caption, GtkWidget* content);
    GtkWidget* AddLabel(int id, const char* caption);
    GtkWidget* AddButton(int id, const char* caption);
    GtkWidget* AddCheckBox(int id, const char* caption);
    // A radio button joins the group of `previous` (-1 starts a group).
    GtkWidget* AddRadioButton(int id, const char* caption, int previous);
    GtkWidget* AddSlider(int id);
    GtkWidget* AddDropDownList(int id);
    GtkWidget* AddEditBox(int id);
    GtkWidget* AddPicture(int id);
    // A small view of the picture file named in edit box `editId`, kept up to date.
    GtkWidget* AddFilePreview(int editId, int width, int height);
    void SetContent(GtkWidget* content);

    // WM_INITDIALOG, then the window until End; the result given to End (-1 when the program
    // was asked to end before the dialog could show).
    intptr_t Run();

    // Dialog
    void SetCaption(std::string_view text) override;
    void SetItemText(int id, std::string_view text) override;
    std::string GetItemText(int id) const override;
    void EnableItem(int id, bool enabled) override;
    void CheckItem(int id, bool checked) override;
    bool IsItemChecked(int id) const override;
    void SetSliderRange(int id, int minimum, int maximum) override;
    void SetSliderPos(int id, int position) override;
    int GetSliderPos(int id) const override;
    void ClearList(int id) override;
    void AddListEntry(int id, std::string_view text) override;
    void SetListSelection(int id, int index) override;
    int GetListSelection(int id) const override;
    void SetItemPicture(int id, std::span<const uint8_t> bitmap) override;
    bool ChooseFileToOpen(std::string_view filter, std::string& path) override;
    void MessageBox(std::string_view text, std::string_view caption) override;
    void End(intptr_t result) override;

    GtkWidget* Window() const { return window_; }

private:
    struct Control {
        GtkWidget* widget = nullptr;
        gulong handler = 0;  // the notification, blocked while the program sets the control
        // An edit box shows UTF-8 only. The bytes the program set (a file name need not be
        // UTF-8) and what was shown for them: while the user leaves the text alone, it reads
        // back as those bytes.
        std::string setBytes, shownText;
    };
    struct Blocked;

    GtkWidget* Register(int id, GtkWidget* widget, const char* signal, GCallback callback);
    GtkWidget* Find(int id) const;
    void Send(uint32_t message, sys::WParam wParam, sys::LParam lParam);
    void AttachToOwner();
    void UpdateFilePreview();

    static void OnClicked(GtkWidget* widget, gpointer self);
    static void OnToggled(GtkWidget* widget, gpointer self);
    static void OnSliderMoved(GtkWidget* widget, gpointer self);
    static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static void OnEditChanged(GtkWidget* widget, gpointer self);

    const DialogProc& proc_;
    uint64_t owner_;
    GtkWidget* window_;
    std::map<int, Control> controls_;
    GtkWidget* preview_ = nullptr;
    GtkWidget* previewEmpty_ = nullptr;
    int previewEdit_ = 0;
    int previewWidth_ = 0, previewHeight_ = 0;
    bool ended_ = false;
    intptr_t result_ = 0;
};

// Lays out a dialog resource's controls in `window`; false for an unknown resource.
bool BuildDialogResource(int resourceId, GtkDialogWindow& window);

}  // namespace ui::gtk
