// kolvane-icons DIR SIZE...: writes DIR/SIZExSIZE/apps/NAME.png for each size,
// the hicolor theme's layout. NAME is the application id.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/png.h"
#include "ship_icon.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: kolvane-icons DIR NAME SIZE...\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const std::string name = argv[2];
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "kolvane-icons: size %s is not within 16..1024\n", argv[i]);
            return 2;
        }
        const std::string side = std::to_string(size);
        const std::filesystem::path apps = dir / (side + "x" + side) / "apps";
        std::error_code ec;
        std::filesystem::create_directories(apps, ec);
        std::string error;
        if (ec || !kolvane::gfx::writePng((apps / (name + ".png")).string(),
                                          kolvane::icon::drawIcon(size), error)) {
            std::fprintf(stderr, "kolvane-icons: %s\n", ec ? ec.message().c_str() : error.c_str());
            return 1;
        }
    }
    return 0;
}
