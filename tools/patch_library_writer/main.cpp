// Writes the patch library "patchsets.bin" that the game data needs to load: the frame
// (four uninterpreted bytes and the string table) and every section present but empty,
// no tile types, tile sets, patch sets or level links:
//   patch_library_writer <output.bin>

#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: patch_library_writer <output.bin>\n";
        return 2;
    }
    zor::ByteWriter writer(64);
    writer.writeU32(0);
    zor::StringTableDynamic().write(writer);
    writer.writeU16(0); // tile types
    writer.writeU16(0); // tile sets
    writer.writeU16(0); // patch sets
    writer.writeU16(0); // level links
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(writer.data().get()), static_cast<std::streamsize>(writer.size()));
    out.close();
    if (!out) {
        std::cerr << "patch_library_writer: could not write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
