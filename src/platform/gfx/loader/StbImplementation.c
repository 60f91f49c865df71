/* The parts of the single-header image libraries the loader uses, built here once: only the
   formats we route to them, no stdio, and the loader's size limit. Where libpng and
   libjpeg-turbo are missing (Windows), stb reads and writes PNG and JPEG too. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#if QUELMONT_STB_PNG_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#endif
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>

#if QUELMONT_STB_PNG_JPEG
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
#endif
