// ondrake-art: draws the front end's pictures from code.
//
//   ondrake-art faces OUTDIR   the Command button's six faces as 24-bit BMP
//                              files, OUTDIR/<face>.bmp
//
// Exit status: 0 written, 1 a file could not be written, 2 usage.
#include <cstdio>
#include <cstring>
#include <string>

#include "bitmap_file.h"
#include "button_faces.h"

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "faces") != 0) {
        std::fprintf(stderr, "usage: ondrake-art faces OUTDIR\n");
        return 2;
    }
    for (const ButtonFace& face : DrawButtonFaces()) {
        std::string path = std::string(argv[2]) + "/" + face.name + ".bmp";
        if (!WriteFileBytes(path, EncodeBmp24(face.image))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
