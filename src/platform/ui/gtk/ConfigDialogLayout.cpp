// The layout of the dialog resources: which controls each has, with their resource captions,
// and where they stand.

#include "platform/ui/DialogResources.h"
#include "platform/ui/gtk/GtkDialogWindow.h"

namespace ui::gtk {
namespace {

constexpr int kSpacing = 6;
constexpr int kMargin = 12;
constexpr int kSliderWidth = 220;
constexpr int kPathWidthChars = 28;
constexpr int kPreviewWidth = 96;
constexpr int kPreviewHeight = 72;

GtkWidget* Column() { return gtk_box_new(GTK_ORIENTATION_VERTICAL, kSpacing); }

GtkWidget* Row() { return gtk_box_new(GTK_ORIENTATION_HORIZONTAL, kSpacing); }

// A group's inner box, with room between its frame and its controls.
GtkWidget* GroupBox() {
    GtkWidget* box = Column();
    gtk_container_set_border_width(GTK_CONTAINER(box), kSpacing);
    gtk_widget_set_margin_start(box, kSpacing);
    return box;
}

void Add(GtkWidget* box, GtkWidget* child) { gtk_box_pack_start(GTK_BOX(box), child, FALSE, FALSE, 0); }

void BuildConfigDialog(GtkDialogWindow& d) {
    GtkWidget* video = GroupBox();
    GtkWidget* modes = d.AddDropDownList(IDC_VIDEO_MODE_LIST);
    Add(video, modes);
    Add(video, d.AddCheckBox(IDC_USE_DESKTOP, "Use Desktop Settings"));

    GtkWidget* sound = GroupBox();
    Add(sound, d.AddLabel(IDC_VOLUME_LABEL, "Master Volume"));
    GtkWidget* volume = d.AddSlider(IDC_VOLUME);
    gtk_widget_set_size_request(volume, kSliderWidth, -1);
    Add(sound, volume);
    Add(sound, d.AddCheckBox(IDC_MUSIC, "Enable Music"));
    Add(sound, d.AddCheckBox(IDC_SOUND, "Enable Sound"));

    GtkWidget* graphics = GroupBox();
    Add(graphics, d.AddLabel(IDC_GAMMA_LABEL, "Gamma Control:"));
    GtkWidget* gamma = d.AddSlider(IDC_GAMMA);
    gtk_widget_set_size_request(gamma, kSliderWidth, -1);
    Add(graphics, gamma);

    GtkWidget* left = Column();
    Add(left, d.AddGroup(IDC_VIDEO_MODE_GROUP, "Video Mode Selection", video));
    Add(left, d.AddGroup(IDC_SOUND_GROUP, "Sound Control", sound));
    // The last group of each column fills it, so that both columns end on one line.
    gtk_box_pack_start(GTK_BOX(left), d.AddGroup(IDC_GRAPHICS_GROUP, "Graphics", graphics), TRUE, TRUE, 0);

    GtkWidget* misc = GroupBox();
    Add(misc, d.AddCheckBox(IDC_SHOW_FPS, "Show FPS"));
    Add(misc, d.AddCheckBox(IDC_EXIT_ON_MOUSE_MOVE, "Exit on Mouse move"));
    Add(misc, d.AddCheckBox(IDC_SHOW_TIME, "Show Time"));
    // The clock styles belong to Show Time: indented under it.
    GtkWidget* styles = Row();
    gtk_widget_set_margin_start(styles, 3 * kSpacing);
    Add(styles, d.AddRadioButton(IDC_24H_STYLE, "24h style", -1));
    Add(styles, d.AddRadioButton(IDC_12H_STYLE, "12h style", IDC_24H_STYLE));
    Add(misc, styles);

    GtkWidget* corner = d.AddPicture(IDC_CORNER_PICTURE);
    gtk_widget_set_halign(corner, GTK_ALIGN_END);
    gtk_widget_set_valign(corner, GTK_ALIGN_START);
    GtkWidget* top = Row();
    gtk_box_pack_start(GTK_BOX(top), d.AddGroup(IDC_MISC_GROUP, "Misc Options", misc), TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(top), corner, FALSE, FALSE, 0);

    GtkWidget* picture = GroupBox();
    GtkWidget* pathRow = Row();
    Add(pathRow, d.AddLabel(IDC_PATH_LABEL, "Path:"));
    GtkWidget* path = d.AddEditBox(IDC_PATH);
    gtk_entry_set_width_chars(GTK_ENTRY(path), kPathWidthChars);
    gtk_box_pack_start(GTK_BOX(pathRow), path, TRUE, TRUE, 0);
    Add(picture, pathRow);
    GtkWidget* pictureRow = Row();
    Add(pictureRow, d.AddFilePreview(IDC_PATH, kPreviewWidth, kPreviewHeight));
    GtkWidget* pictureButtons = Column();
    gtk_widget_set_valign(pictureButtons, GTK_ALIGN_END);
    Add(pictureButtons, d.AddButton(IDC_BROWSE, "Browse ..."));
    Add(pictureButtons, d.AddButton(IDC_RESTORE_PICTURE, "Restore Default Picture"));
    gtk_box_pack_end(GTK_BOX(pictureRow), pictureButtons, FALSE, FALSE, 0);
    Add(picture, pictureRow);

    GtkWidget* products = GroupBox();
    GtkWidget* visitText = d.AddLabel(IDC_VISIT_LABEL, "Visit our official web-site for more great 3D screensavers");
    gtk_label_set_line_wrap(GTK_LABEL(visitText), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(visitText), 36);
    GtkWidget* visitRow = Row();
    gtk_box_pack_start(GTK_BOX(visitRow), visitText, TRUE, TRUE, 0);
    GtkWidget* visit = d.AddButton(IDC_VISIT, "Visit...");
    gtk_widget_set_valign(visit, GTK_ALIGN_CENTER);
    gtk_box_pack_end(GTK_BOX(visitRow), visit, FALSE, FALSE, 0);
    Add(products, visitRow);

    GtkWidget* right = Column();
    Add(right, top);
    Add(right, d.AddGroup(IDC_PICTURE_GROUP, "Put your picture in the frame", picture));
    gtk_box_pack_start(GTK_BOX(right), d.AddGroup(IDC_PRODUCTS_GROUP, "Products", products), TRUE, TRUE, 0);

    GtkWidget* columns = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2 * kSpacing);
    gtk_box_set_homogeneous(GTK_BOX(columns), FALSE);
    Add(columns, left);
    gtk_box_pack_start(GTK_BOX(columns), right, TRUE, TRUE, 0);

    GtkWidget* buttons = Row();
    Add(buttons, d.AddButton(IDC_RESTORE_DEFAULTS, "Restore Defaults"));
    GtkWidget* cancel = d.AddButton(IDCANCEL, "Cancel");
    GtkWidget* ok = d.AddButton(IDOK, "OK");
    gtk_box_pack_end(GTK_BOX(buttons), cancel, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(buttons), ok, FALSE, FALSE, 0);
    gtk_widget_set_size_request(ok, 88, -1);
    gtk_widget_set_size_request(cancel, 88, -1);

    GtkWidget* all = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2 * kSpacing);
    gtk_container_set_border_width(GTK_CONTAINER(all), kMargin);
    Add(all, columns);
    Add(all, buttons);
    d.SetContent(all);
}

}  // namespace

bool BuildDialogResource(int resourceId, GtkDialogWindow& window) {
    if (resourceId != kConfigDialog) return false;
    BuildConfigDialog(window);
    return true;
}

}  // namespace ui::gtk
