/* The stb_vorbis decoder itself, compiled once; the Windows VorbisDecoder calls it. Reading from
   memory only: no stdio. */
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>
