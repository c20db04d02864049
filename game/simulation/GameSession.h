#pragma once
// The three save slots (profiles) and the slot in use, with the totals the profile menus
// show. Kept in "session.xml" of the user folder (see GameSessionFile.h); each slot has
// its profile settings in "profile_<slot>.xml" and its world save in "savegame_<slot>.dat",
// all with ".backup" copies. Main thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace zor {

class GameSession {
public:
    static constexpr std::int32_t ProfileCount = 3;
    static constexpr const char* FileName = "session.xml";

    // A cleared slot is all zero. The simulator keeps the totals of the current slot.
    struct ProfileSlot {
        bool exists = false;
        bool finished = false;
        double timePlayed = 0.0;  // seconds
        std::int32_t maxDepth = 0;
        std::int32_t totalExperience = 0;
        std::int32_t totalOrbs = 0;
        std::int32_t deaths = 0;

        bool operator==(const ProfileSlot& other) const;
        bool operator!=(const ProfileSlot& other) const { return !(*this == other); }
    };

    // Reads "session.xml", else its ".backup"; a file neither form reads is moved aside as
    // ".corrupt-N". On success a current slot outside 0 to 2 becomes 0 and that slot is
    // selected (its profile settings loaded). When neither file is read the session keeps
    // what it held, except that every slot with a world save (or its backup) is listed as
    // existing, so a lost session hides no game. Needs the SettingsHandler.
    bool load();
    // Writes the current slot's profile settings when it exists, then "session.xml", whose
    // present version becomes the ".backup" only when it reads. Throws CheckReleaseError
    // "Could not save session!" with the cause when either could not be written.
    void save() const;
    // Makes the slot current. An existing slot loads its profile settings; an empty one
    // with `create` becomes existing with default profile settings; otherwise the profile
    // settings keep their values. Throws std::out_of_range for a slot outside 0 to 2.
    void selectProfile(std::int32_t slot, bool create);
    // Clears the slot and saves (the current slot stays), then deletes its profile file, its
    // world save and both ".backup" copies. Throws std::out_of_range for a slot outside 0 to 2.
    void eraseProfile(std::int32_t slot);

    static std::string profileFileName(std::int32_t slot);
    static std::string savegameFileName(std::int32_t slot);
    std::string currentProfileFileName() const { return profileFileName(currentProfile); }
    std::string currentSavegameFileName() const { return savegameFileName(currentProfile); }

    ProfileSlot& currentSlot() { return profiles[std::size_t(currentProfile)]; }
    const ProfileSlot& currentSlot() const { return profiles[std::size_t(currentProfile)]; }

    std::array<ProfileSlot, ProfileCount> profiles{};
    std::int32_t currentProfile = 0;  // 0 to 2
};

// The program's one session, made at system initialisation and kept until the end.
std::shared_ptr<GameSession>& gameSession();

} // namespace zor
