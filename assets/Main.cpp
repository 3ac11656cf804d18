// vorna-assets: writes Vorna.dat, Vorna.spr and Vorna.pic into the output
// directory (default: the current one); with --preview DIR it also writes the
// review sheets into DIR, with --icons DIR the program's desktop icons.
#include "DataFiles.h"
#include "Model.h"
#include "Preview.h"
#include "ProgramIcon.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::string out = ".", preview, icons;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
            preview = argv[++i];
        } else if (std::strcmp(argv[i], "--output") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc) {
            icons = argv[++i];
        } else {
            std::fprintf(stderr, "usage: vorna-assets [--output DIR] [--preview DIR] [--icons DIR]\n");
            return 2;
        }
    }
    try {
        gen::DataSet data = gen::BuildAll();
        std::filesystem::create_directories(out);
        gen::WriteDataFile(out + "/Vorna.dat", gen::BuildDatFile(data));
        gen::WriteDataFile(out + "/Vorna.spr", gen::BuildSprFile(data));
        gen::WriteDataFile(out + "/Vorna.pic", gen::BuildPicFile(data));
        if (!icons.empty()) {
            std::filesystem::create_directories(icons);
            gen::WriteProgramIcons(icons);
        }
        if (!preview.empty()) {
            std::filesystem::create_directories(preview);
            gen::WritePreview(data, preview);
        }
        std::printf("vorna-assets: %zu items, %zu outfits, %zu effects, %zu missiles, %d sprites, %zu pictures\n",
                    data.Items.size(), data.Outfits.size(), data.Effects.size(), data.Missiles.size(),
                    data.Sprites.Count(), data.Pictures.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorna-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
