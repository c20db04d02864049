// Reads arbitrary text as the sound file list "Audio/files.lst". The last line of a name
// decides its extension, whatever the lines hold; a name the list does not hold finds
// nothing.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_file_list
//   build-fuzz/fuzz/fuzz_file_list -max_total_time=60 build-fuzz/fuzz/corpus/file_list

#include "Framework/audio/SoundFileList.h"
#include "Framework/core/text/TextUtils.h"
#include "fuzz/support/FuzzFolders.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    zor::fuzz::writeInput(zor::FileLocation::GameData, "Audio/files.lst", data, size);
    zor::SoundFileList list;
    list.load();

    std::vector<std::string> lines;
    if (size > 0) lines = zor::splitLines(std::string(reinterpret_cast<const char*>(data), size));
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::map<std::string, std::string> last;
    for (const std::string& line : lines) last[zor::removeExtension(line)] = zor::extensionOf(line);
    for (const auto& [name, extension] : last) check(list.find(name) == extension);
    if (last.count("no such sound") == 0) check(list.find("no such sound").empty());
    return 0;
}
