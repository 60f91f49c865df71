#pragma once
// The program's dialog resources: their ids and the ids of their controls.

#include "media/Manifest.h"

namespace ui {

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Shown when the graphics check fails.
constexpr int kDirectXDialog = manifest::kDirectXDialog;

// The configuration dialog.
constexpr int kConfigDialog = manifest::kConfigDialog;
constexpr int IDC_VIDEO_MODE_GROUP = 1013;
constexpr int IDC_VIDEO_MODE_LIST = 1011;
constexpr int IDC_USE_DESKTOP = 1012;
constexpr int IDC_SOUND_GROUP = 1014;
constexpr int IDC_VOLUME_LABEL = 1023;
constexpr int IDC_VOLUME = 1020;
constexpr int IDC_MUSIC = 1021;
constexpr int IDC_SOUND = 1022;
constexpr int IDC_GRAPHICS_GROUP = 1015;
constexpr int IDC_GAMMA_LABEL = 1106;
constexpr int IDC_GAMMA = 1046;
constexpr int IDC_MISC_GROUP = 1025;
constexpr int IDC_SHOW_FPS = 1044;
constexpr int IDC_EXIT_ON_MOUSE_MOVE = 1045;
constexpr int IDC_SHOW_TIME = 1119;
constexpr int IDC_24H_STYLE = 1112;
constexpr int IDC_12H_STYLE = 1111;
constexpr int IDC_PICTURE_GROUP = 1016;
constexpr int IDC_BROWSE = 1008;
constexpr int IDC_PATH_LABEL = 1017;
constexpr int IDC_PATH = 1009;
constexpr int IDC_RESTORE_PICTURE = 1010;
constexpr int IDC_PRODUCTS_GROUP = 1018;
constexpr int IDC_VISIT_LABEL = 1019;
constexpr int IDC_VISIT = 1061;
constexpr int IDC_RESTORE_DEFAULTS = 1063;
// The picture in the upper right corner, showing its bitmap resource.
constexpr int IDC_CORNER_PICTURE = 1062;
constexpr int kCornerBitmap = manifest::kCornerBitmap.id;

}  // namespace ui
