// Generates every picture of data/images/ and the contact sheet. The output
// depends only on this program and the font file: no clocks, no random seeds
// from outside, no parallel work, so running it twice gives the same bytes.
//
// usage: rollavortex-imagegen <font.ttf> <images folder> [contact sheet .png]
//        rollavortex-imagegen --icons <icon theme folder>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "ContactSheet.hpp"
#include "Font.hpp"
#include "Icon.hpp"
#include "Pictures.hpp"
#include "Png.hpp"

namespace {

bool save(const std::filesystem::path& path, const Canvas& canvas) {
    std::filesystem::create_directories(path.parent_path());
    if (!writePng(path.string(), canvas.width(), canvas.height(), canvas.toRgba8())) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// The application icon in every size, laid out as an icon theme wants it:
// <folder>/<n>x<n>/apps/rollavortex.png.
int writeIcons(const std::filesystem::path& folder) {
    for (const int size : kIconSizes) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        if (!save(folder / square / "apps" / "rollavortex.png", appIcon(size))) {
            return 1;
        }
    }
    std::printf("%zu icons written to %s\n", kIconSizes.size(), folder.string().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        return writeIcons(argv[2]);
    }
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr,
                     "usage: %s <font.ttf> <images folder> [contact-sheet.png]\n"
                     "       %s --icons <icon theme folder>\n",
                     argv[0], argv[0]);
        return 2;
    }
    const Font font(argv[1]);
    if (!font.ok()) {
        std::fprintf(stderr, "cannot read font %s\n", argv[1]);
        return 1;
    }
    Pictures pictures;
    addTiles(pictures);
    addSwitchShine(pictures);
    addFace(pictures);
    addMascot(pictures);
    addEffects(pictures, font);
    addHudTexts(pictures, font);
    addLogos(pictures, font);

    const std::filesystem::path folder = argv[2];
    for (const Picture& p : pictures) {
        if (!save(folder / p.name, p.canvas)) {
            return 1;
        }
    }
    if (argc == 4 && !save(argv[3], contactSheet(pictures, font))) {
        return 1;
    }
    std::printf("%zu pictures written to %s\n", pictures.size(), folder.string().c_str());
    return 0;
}
