#pragma once
// The udftool commands, for people who make or inspect media:
//   text FILE                  the parsed text tree as JSON
//   bin FILE [--max-data N]    the fully loaded binary tree as JSON (data: at most N bytes, 64)
//   roundtrip IN OUT           load a binary file fully and save it again without a type table
//   rar-list ARCHIVE           the archive's members: kind, size, CRC-32, name
//   rar-cat ARCHIVE NAME       one member's bytes on standard output
//   rar-pack DIR OUT           a stored archive of everything below DIR
//   scene FILE                 the loaded scene as JSON
//   render FILE --out PNG …    one frame of the scene drawn offscreen (SceneTool.h)

#include <cstdio>
#include <string>
#include <vector>

// `args` without the program's name. Gives the exit status: 0 done, 1 failed, 2 bad usage.
int RunUdfTool(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
