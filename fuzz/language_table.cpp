// Reads the input as a language table, then uses every text as a format line, fed one
// integer and one text. Entries must hold at least an id and a text field's worth of
// characters, and a format must never throw, only turn invalid.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_language_table
//   build-fuzz/fuzz/fuzz_language_table -max_total_time=30

#include "Framework/core/localization/LanguageTable.h"
#include "Framework/core/localization/LocalizedFormat.h"
#include "Framework/core/text/TextUtils.h"

#include <cstdint>
#include <string>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    zor::LanguageTable table;
    zor::readLanguageTable(zor::splitLines(text), table);
    check(table.size() <= size / 3 + 1);
    for (const auto& [id, line] : table) {
        check(id.find('\t') == std::string::npos && line.find('\t') == std::string::npos);
        check(id.find("\\n") == std::string::npos && line.find("\\n") == std::string::npos);
        zor::LocalizedFormat format = zor::LocalizedFormat::fromText(line);
        format % 7 % id;
        const std::string result = format.str();
        check(!format.isInvalid() || result == "!LINE INVALID!");
    }
    return 0;
}
