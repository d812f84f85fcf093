// ondrake-art: draws the front end's pictures from code.
//
//   ondrake-art faces OUTDIR   the Command button's six faces as 24-bit BMP
//                              files, OUTDIR/<face>.bmp
//   ondrake-art faces OUTDIR 2 the same drawn at twice their size, for
//                              dense screens, OUTDIR/<face>@2x.bmp
//   ondrake-art marks OUTDIR   the settings dialog's two marks,
//                              OUTDIR/mark_unchosen.bmp and mark_chosen.bmp
//   ondrake-art icon FILE      the program's icon, 32 x 32 and 16 x 16 at 256
//                              colours
//
// Exit status: 0 written, 1 a file could not be written, 2 usage.
#include <cstdio>
#include <cstring>
#include <string>

#include "bitmap_file.h"
#include "button_faces.h"
#include "dialog_art.h"
#include "file_bytes.h"
#include "icon_file.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (WriteFileBytes(path, bytes)) return true;
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
}

int Faces(const std::string& folder, int scale) {
    const std::string suffix = scale == 1 ? ".bmp" : "@2x.bmp";
    for (const ButtonFace& face : DrawButtonFaces(scale))
        if (!Write(folder + "/" + face.name + suffix, EncodeBmp24(face.image))) return 1;
    return 0;
}

int Marks(const std::string& folder) {
    bool written = Write(folder + "/mark_unchosen.bmp", EncodeBmp24(MarkPicture(false))) &&
                   Write(folder + "/mark_chosen.bmp", EncodeBmp24(MarkPicture(true)));
    return written ? 0 : 1;
}

int Icon(const std::string& path) { return Write(path, EncodeIco8({IconPicture(32), IconPicture(16)})) ? 0 : 1; }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "faces")) return Faces(argv[2], 1);
    if (argc == 4 && !std::strcmp(argv[1], "faces") && !std::strcmp(argv[3], "2")) return Faces(argv[2], 2);
    if (argc == 3 && !std::strcmp(argv[1], "marks")) return Marks(argv[2]);
    if (argc == 3 && !std::strcmp(argv[1], "icon")) return Icon(argv[2]);
    std::fprintf(stderr, "usage: ondrake-art faces OUTDIR [2] | marks OUTDIR | icon FILE\n");
    return 2;
}
