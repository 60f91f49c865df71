/* The stb_vorbis decoder itself, compiled once; the Windows VorbisDecoder calls it. Reading from
   memory only: no stdio. Its memory comes from the decoder's own pool (StbVorbisMemory.h). */
#include <stdlib.h>

#include "platform/audio/win32/StbVorbisMemory.h"

#define malloc(size) StbVorbisAlloc(size)
#define realloc(block, size) StbVorbisRealloc(block, size)
#define free(block) StbVorbisFree(block)

#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>
