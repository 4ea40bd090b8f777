#include "unrealpkg/probe_names.h"

#include <array>

namespace torvane::unrealpkg {
namespace {

// Bits without a name are placeholders the engine never calls.
const std::array<std::string, 64> kProbeNames = {
    "Spawned", "Destroyed", "GainedChild", "LostChild", "", "", "Trigger", "UnTrigger",
    "Timer", "HitWall", "Falling", "Landed", "ZoneChange", "Touch", "UnTouch", "Bump",
    "BeginState", "EndState", "BaseChange", "Attach", "Detach", "ActorEntered", "ActorLeaving",
    "KillCredit", "AnimEnd", "EndedRotation", "InterpolateEnd", "EncroachingOn", "EncroachedBy",
    "FootZoneChange", "HeadZoneChange", "PainTimer", "SpeechTimer", "MayFall", "", "Die", "Tick",
    "PlayerTick", "Expired", "", "SeePlayer", "EnemyNotVisible", "HearNoise", "UpdateEyeHeight",
    "SeeMonster", "SeeFriend", "SpecialHandling", "BotDesireability",
};

}  // namespace

const std::string& ProbeName(int bit) {
    static const std::string kNone;
    return bit >= 0 && bit < 64 ? kProbeNames[static_cast<std::size_t>(bit)] : kNone;
}

std::vector<std::string> IgnoredProbes(unsigned long long ignoreMask) {
    std::vector<std::string> names;
    for (int bit = 0; bit < 64; ++bit) {
        if (!(ignoreMask & (1ULL << bit)) && !ProbeName(bit).empty()) names.push_back(ProbeName(bit));
    }
    return names;
}

}  // namespace torvane::unrealpkg
