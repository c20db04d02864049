#pragma once
// The text of "session.xml":
//
//     <Session>
//       <CurrentProfile>1</CurrentProfile>
//       <Profiles>
//         <Profile>
//           <Exists>true</Exists> <Finished>false</Finished> <TimePlayed>84.5</TimePlayed>
//           <MaxDepth>12</MaxDepth> <TotalExperience>40</TotalExperience>
//           <TotalOrbs>3</TotalOrbs> <NrDeaths>1</NrDeaths>
//         </Profile>
//         ... (three, slot 0 first)
//
// Exists, Finished, TimePlayed and MaxDepth are required, the other totals are 0 when
// absent, children of Profiles after the third are ignored and a current slot outside 0
// to 2 becomes 0. The earlier form, <Session CurrentProfile="1"><Profile Slot="1"/></Session>,
// which lists the existing slots and has no totals, is read as well (as strictly as before:
// slots and the current slot must lie in 0 to 2).

#include "game/simulation/GameSession.h"

#include <cstddef>
#include <optional>
#include <string>

namespace zor {

// The slots and current slot of the text; nothing when the text is no session of either
// form. Never throws.
std::optional<GameSession> parseSessionText(const char* text, std::size_t size);

// The text of the session in the first form above; parseSessionText reads it back equal
// (a time played that is no finite number is written as 0).
std::string formatSessionText(const GameSession& session);

} // namespace zor
