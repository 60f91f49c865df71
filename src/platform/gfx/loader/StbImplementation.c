/* The parts of the single-header image libraries the loader uses, built here once: only the
   formats we route to them, no stdio, and the loader's size limit. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>
