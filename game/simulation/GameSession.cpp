#include "game/simulation/GameSession.h"

#include "game/simulation/GameSessionFile.h"
#include "game/world/WorldSaveFiles.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/BackedUpFile.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"

#include <optional>
#include <stdexcept>

namespace zor {

namespace {

constexpr const char* LogSource = "GameSession";

std::size_t checkedSlot(std::int32_t slot) {
    if (slot < 0 || slot >= GameSession::ProfileCount)
        throw std::out_of_range("Profile slot " + std::to_string(slot) + " does not exist: slots are 0 to " +
                                std::to_string(GameSession::ProfileCount - 1));
    return std::size_t(slot);
}

std::optional<GameSession> parseSession(const ByteArray& data, std::size_t size) {
    return parseSessionText(reinterpret_cast<const char*>(data.get()), size);
}

} // namespace

bool GameSession::ProfileSlot::operator==(const ProfileSlot& other) const {
    return exists == other.exists && finished == other.finished && timePlayed == other.timePlayed &&
           maxDepth == other.maxDepth && totalExperience == other.totalExperience && totalOrbs == other.totalOrbs &&
           deaths == other.deaths;
}

bool GameSession::load() {
    std::optional<GameSession> read;
    const BackedUpLoad load = loadBackedUpFile(FileName, [&read](const ByteArray& data, std::size_t size) {
        read = parseSession(data, size);
        return read.has_value();
    });
    if (!read) {
        for (std::int32_t slot = 0; slot < ProfileCount; ++slot) {
            const std::string save = savegameFileName(slot);
            if (fileExists(save, FileLocation::User) || fileExists(save + ".backup", FileLocation::User))
                profiles[std::size_t(slot)].exists = true;
        }
        if (load.lost())
            LogHandler::log(LogHandler::Warning, LogSource,
                            "No session could be read; the slots with a world save are listed");
        return false;
    }
    profiles = read->profiles;
    selectProfile(read->currentProfile, false);
    return true;
}

void GameSession::save() const {
    std::string profileError;
    const bool profileWritten =
        !currentSlot().exists ||
        SettingsHandler::instance().writeValues(currentProfileFileName(), SettingProfile, &profileError);
    const std::string text = formatSessionText(*this);
    std::string sessionError;
    const bool sessionWritten =
        writeBackedUpFile(FileName, text.data(), text.size(),
                          [](const ByteArray& data, std::size_t size) { return parseSession(data, size).has_value(); },
                          &sessionError);
    if (!profileWritten || !sessionWritten)
        throw CheckReleaseError("Could not save session! " + (profileWritten ? sessionError : profileError));
}

void GameSession::selectProfile(std::int32_t slot, bool create) {
    ProfileSlot& selected = profiles[checkedSlot(slot)];
    currentProfile = slot;
    if (selected.exists) {
        SettingsHandler::instance().loadProfileSettings(profileFileName(slot));
    } else if (create) {
        selected.exists = true;
        SettingsHandler::instance().resetToDefaults(SettingProfile);
    }
}

void GameSession::eraseProfile(std::int32_t slot) {
    profiles[checkedSlot(slot)] = ProfileSlot();
    save();
    for (const std::string& name : {profileFileName(slot), savegameFileName(slot)}) deleteUserFile(name);
    for (const std::string& name : {profileFileName(slot), savegameFileName(slot)}) deleteUserFile(name + ".backup");
}

std::string GameSession::profileFileName(std::int32_t slot) {
    return "profile_" + std::to_string(slot) + ".xml";
}

std::string GameSession::savegameFileName(std::int32_t slot) {
    return worldSaveFileName(slot);
}

std::shared_ptr<GameSession>& gameSession() {
    static std::shared_ptr<GameSession> session;
    return session;
}

} // namespace zor
