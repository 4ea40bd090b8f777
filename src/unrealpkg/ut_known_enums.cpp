#include "unrealpkg/ut_known_enums.h"

#include <vector>

#include "core/text.h"

namespace torvane::unrealpkg {
namespace {

struct TKnownEnumValues {
    const char* name;
    std::vector<const char*> values;
};

const std::vector<TKnownEnumValues>& KnownEnums() {
    static const std::vector<TKnownEnumValues> enums = {
        {"ESheerAxis",
         {"SHEER_None", "SHEER_XY", "SHEER_XZ", "SHEER_YX", "SHEER_YZ", "SHEER_ZX", "SHEER_ZY"}},
        {"EDropType",
         {"DROP_FixedDepth", "DROP_PhaseSpot", "DROP_ShallowSpot", "DROP_HalfAmpl",
          "DROP_RandomMover", "DROP_FixedRandomMover", "DROP_WhirlyThing", "DROP_BigWhirly",
          "DROP_HorizontalLine", "DROP_VerticalLine", "DROP_DiagonalLine1", "DROP_DiagonalLine2",
          "DROP_HorizontalOsc", "DROP_VerticalOsc", "DROP_DiagonalOsc1", "DROP_DiagonalOsc2",
          "DROP_RainDrops", "DROP_AreaClamp", "DROP_LeakyTap", "DROP_DrippyTap"}},
        {"ESparkType",
         {"SPARK_Burn", "SPARK_Sparkle", "SPARK_Pulse", "SPARK_Signal", "SPARK_Blaze",
          "SPARK_OzHasSpoken", "SPARK_Cone", "SPARK_BlazeRight", "SPARK_BlazeLeft",
          "SPARK_Cylinder", "SPARK_Cylinder3D", "SPARK_Lissajous", "SPARK_Jugglers",
          "SPARK_Emit", "SPARK_Fountain", "SPARK_Flocks", "SPARK_Eels", "SPARK_Organic",
          "SPARK_WanderOrganic", "SPARK_RandomCloud", "SPARK_CustomCloud", "SPARK_LocalCloud",
          "SPARK_Starts", "SPARK_LineLightning", "SPARK_RampLightning", "SPARK_SphereLightning",
          "SPARK_Wheel", "SPARK_Gametes", "SPARK_Sprinkler"}},
    };
    return enums;
}

}  // namespace

std::string KnownEnumValue(std::string_view enumName, int index) {
    for (const auto& known : KnownEnums()) {
        if (!core::EqualsIgnoringCase(known.name, enumName)) continue;
        if (index < 0 || index >= static_cast<int>(known.values.size())) return {};
        return known.values[static_cast<std::size_t>(index)];
    }
    return {};
}

}  // namespace torvane::unrealpkg
