// Reads the input as a settings declaration file and a value file (split at the first zero
// byte), then reads every setting through each getter and writes the values back. Only
// CheckReleaseError may leave the declaration read; nothing else may throw.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_settings_file
//   build-fuzz/fuzz/fuzz_settings_file -max_total_time=30

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// Game data and user folders of this process, made once.
struct Folders {
    std::string gameData;
    std::string user;

    Folders() {
        gameData = make();
        user = make();
        setenv("ZOR_USER_DIR", user.c_str(), 1);
        zor::initFileSystem(gameData);
        zor::createDirectories(gameData + "/Definitions");
    }

    static std::string make() {
        char pattern[] = "/tmp/zor-fuzz-settings-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        return pattern;
    }
};

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    writeText(folders.gameData + "/Definitions/settings.xml", input.substr(0, split));
    writeText(folders.user + "/settings.xml", split == std::string::npos ? std::string() : input.substr(split + 1));

    std::optional<zor::SettingsHandler> settings(std::in_place);
    try {
        settings->loadDefinitions("Definitions/settings.xml");
    } catch (const zor::CheckReleaseError&) {
    }
    settings->readValues("settings.xml", zor::SettingPersistent | zor::SettingPermanent);
    settings->loadProfileSettings("settings.xml");

    std::vector<std::string> keys;
    for (const auto& entry : settings->settings()) keys.push_back(entry.first);
    for (const std::string& key : keys) {
        settings->getInt(key);
        settings->getBool(key);
        settings->getFloat(key);
        settings->getVector2(key);
        settings->valueEquals(key, settings->getString(key));
    }
    settings->writeValues("written.xml", ~0u);
    settings->resetToDefaults(~0u);
    settings->readValues("written.xml", ~0u);
    return 0;
}
