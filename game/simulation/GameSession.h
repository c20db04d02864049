#pragma once
// The player's session: which of the three save slots hold a profile, and which one is
// current. It is kept in "session.xml" of the user folder:
//
//     <Session CurrentProfile="1">
//       <Profile Slot="0"/>
//       <Profile Slot="1"/>
//     </Session>
//
// (a slot is listed when it holds a profile).

#include <array>
#include <cstdint>
#include <memory>

namespace zor {

class GameSession {
public:
    static constexpr std::int32_t ProfileCount = 3;
    static constexpr const char* FileName = "session.xml";

    struct ProfileSlot {
        bool exists = false;
    };

    // Reads "session.xml", or its ".backup" copy when that file is missing or damaged.
    // True when one was read; otherwise the session stays as it was.
    bool load();

    std::array<ProfileSlot, ProfileCount> profiles{};
    std::int32_t currentProfile = 0;
};

// The program's one session, made at system initialisation and kept until the end.
std::shared_ptr<GameSession>& gameSession();

} // namespace zor
