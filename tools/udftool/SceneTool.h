#pragma once
// The scene commands of udftool:
//   scene FILE                  the loaded scene as JSON (recording device, no GL)
//   render FILE --out PNG [--eye X,Y,Z] [--at X,Y,Z] [--up X,Y,Z] [--size WxH] [--fov RADIANS]
//          [--time SECONDS] [--ambient 0xAARRGGBB] [--clear 0xAARRGGBB] [--path CAM --path-time T]
//          [--repeat N]
//                               one frame of the scene drawn offscreen on the platform's
//                               device (OpenGL on Linux, Direct3D 9 on Windows); --repeat draws
//                               N more frames (scene time +1/30 s each) and prints their rate

#include <cstdio>
#include <string>
#include <vector>

int SceneCommand(const std::string& path, std::FILE* out, std::FILE* err);
// `args` from the file name on.
int RenderCommand(const std::vector<std::string>& args, std::FILE* err);
