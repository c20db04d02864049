// The patch compiler: writes the patch library "patchsets.bin" from the readable sources,
// and prints any patch library as text.
//   patch_compiler compile <source folder> <game data folder> <output file>
//   patch_compiler dump <patchsets.bin>
// The game data folder holds Definitions/resources.xml, Definitions/materials.xml and the
// level descriptions in Levels, which the sources' names are checked against.

#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/patch_compiler/compiler/PatchCompiler.h"
#include "tools/patch_compiler/compiler/PatchLibraryDump.h"

namespace {

int usage() {
    std::cerr << "usage: patch_compiler compile <source folder> <game data folder> <output file>\n"
                 "       patch_compiler dump <patchsets.bin>\n";
    return 2;
}

int compile(const std::string& sources, const std::string& dataFolder, const std::string& output) {
    const std::string bytes = zor::compilePatchLibrary(zor::readSourceFolder(sources), zor::readGameDataNames(dataFolder));
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "patch_compiler: could not write " << output << "\n";
        return 1;
    }
    return 0;
}

int dump(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "patch_compiler: could not read " << file << "\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::cout << zor::dumpPatchLibrary(bytes.str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "compile" && argc == 5) return compile(argv[2], argv[3], argv[4]);
        if (command == "dump" && argc == 3) return dump(argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "patch_compiler: " << error.what() << "\n";
        return 1;
    }
    return usage();
}
