// kolvane-ico ICON.ico PICTURE.png...: packs square PNG pictures (the ship
// drawn by kolvane-icons at several sizes) into a Windows icon file, in the
// order given. The file appears whole or not at all.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/atomic_file.h"
#include "ico_file.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kolvane-ico ICON.ico PICTURE.png...\n");
        return 2;
    }
    std::vector<kolvane::icon::IcoPicture> pictures;
    std::string error;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        kolvane::icon::IcoPicture picture;
        picture.png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "kolvane-ico: cannot read \"%s\"\n", argv[i]);
            return 1;
        }
        if (!kolvane::icon::icoPictureSide(picture.png, picture.side, error)) {
            std::fprintf(stderr, "kolvane-ico: \"%s\": %s\n", argv[i], error.c_str());
            return 1;
        }
        pictures.push_back(std::move(picture));
    }
    if (!kolvane::writeFileAtomically(argv[1], kolvane::icon::icoFile(pictures), error)) {
        std::fprintf(stderr, "kolvane-ico: cannot write %s\n", error.c_str());
        return 1;
    }
    return 0;
}
