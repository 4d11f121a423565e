#pragma once
// stb_image and stb_image_write (Debian's libstb-dev), as this program uses
// them: PNG only, from and to memory (the files themselves are ours to open).
// Include this, never the two headers directly, so that every file sees them
// alike; gfx/png_stb.cpp compiles their code.
#include "gfx/png.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS ::kolvane::gfx::kMaxPngSide
#define STBI_WRITE_NO_STDIO

#include <stb_image.h>
#include <stb_image_write.h>
