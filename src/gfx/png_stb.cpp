// The code of stb_image and stb_image_write, compiled once. It is third-party
// code, built without the project's warnings (src/CMakeLists.txt).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "gfx/png_stb.h"
