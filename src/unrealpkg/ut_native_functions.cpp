#include "unrealpkg/ut_native_functions.h"

#include <iterator>

#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

constexpr TNativeFunction kNatives[] = {
    {113, kFunction, 0, "GotoState"},
    {117, kFunction, 0, "Enable"},
    {118, kFunction, 0, "Disable"},
    {125, kFunction, 0, "Len"},
    {126, kFunction, 0, "InStr"},
    {127, kFunction, 0, "Mid"},
    {128, kFunction, 0, "Left"},
    {167, kFunction, 0, "Rand"},
    {186, kFunction, 0, "Abs"},
    {187, kFunction, 0, "Sin"},
    {188, kFunction, 0, "Cos"},
    {189, kFunction, 0, "Tan"},
    {190, kFunction, 0, "Atan"},
    {191, kFunction, 0, "Exp"},
    {192, kFunction, 0, "Loge"},
    {193, kFunction, 0, "Sqrt"},
    {194, kFunction, 0, "Square"},
    {195, kFunction, 0, "FRand"},
    {225, kFunction, 0, "VSize"},
    {226, kFunction, 0, "Normal"},
    {227, kFunction, 0, "Invert"},
    {229, kFunction, 0, "GetAxes"},
    {230, kFunction, 0, "GetUnAxes"},
    {231, kFunction, 0, "Log"},
    {232, kFunction, 0, "Warn"},
    {233, kFunction, 0, "Error"},
    {234, kFunction, 0, "Right"},
    {235, kFunction, 0, "Caps"},
    {236, kFunction, 0, "Chr"},
    {237, kFunction, 0, "Asc"},
    {239, kFunction, 0, "Repl"},  // added by the game's current patch, like $= below
    {244, kFunction, 0, "FMin"},
    {245, kFunction, 0, "FMax"},
    {246, kFunction, 0, "FClamp"},
    {247, kFunction, 0, "Lerp"},
    {248, kFunction, 0, "Smerp"},
    {249, kFunction, 0, "Min"},
    {250, kFunction, 0, "Max"},
    {251, kFunction, 0, "Clamp"},
    {252, kFunction, 0, "VRand"},
    {256, kFunction, 0, "Sleep"},
    {258, kFunction, 0, "ClassIsChildOf"},
    {259, kFunction, 0, "PlayAnim"},
    {260, kFunction, 0, "LoopAnim"},
    {261, kFunction, 0, "FinishAnim"},
    {262, kFunction, 0, "SetCollision"},
    {263, kFunction, 0, "HasAnim"},
    {264, kFunction, 0, "PlaySound"},
    {266, kFunction, 0, "Move"},
    {267, kFunction, 0, "SetLocation"},
    {272, kFunction, 0, "SetOwner"},
    {277, kFunction, 0, "Trace"},
    {278, kFunction, 0, "Spawn"},
    {279, kFunction, 0, "Destroy"},
    {280, kFunction, 0, "SetTimer"},
    {281, kFunction, 0, "IsInState"},
    {282, kFunction, 0, "IsAnimating"},
    {283, kFunction, 0, "SetCollisionSize"},
    {284, kFunction, 0, "GetStateName"},
    {293, kFunction, 0, "GetAnimGroup"},
    {294, kFunction, 0, "TweenAnim"},
    {298, kFunction, 0, "SetBase"},
    {299, kFunction, 0, "SetRotation"},
    {300, kFunction, 0, "MirrorVectorByNormal"},
    {301, kFunction, 0, "FinishInterpolation"},
    {303, kFunction, 0, "IsA"},
    {304, kFunction, 0, "AllActors"},
    {305, kFunction, 0, "ChildActors"},
    {306, kFunction, 0, "BasedActors"},
    {307, kFunction, 0, "TouchingActors"},
    {308, kFunction, 0, "ZoneActors"},
    {309, kFunction, 0, "TraceActors"},
    {310, kFunction, 0, "RadiusActors"},
    {311, kFunction, 0, "VisibleActors"},
    {312, kFunction, 0, "VisibleCollidingActors"},
    {314, kFunction, 0, "Warp"},
    {315, kFunction, 0, "UnWarp"},
    {320, kFunction, 0, "RotRand"},
    {464, kFunction, 0, "StrLen"},
    {465, kFunction, 0, "DrawText"},
    {466, kFunction, 0, "DrawTile"},
    {467, kFunction, 0, "DrawActor"},
    {468, kFunction, 0, "DrawTileClipped"},
    {469, kFunction, 0, "DrawTextClipped"},
    {470, kFunction, 0, "TextSize"},
    {471, kFunction, 0, "DrawClippedActor"},
    {472, kFunction, 0, "DrawText"},
    {473, kFunction, 0, "DrawTile"},
    {474, kFunction, 0, "DrawColoredText"},
    {475, kFunction, 0, "ReplaceTexture"},
    {476, kFunction, 0, "TextSize"},
    {480, kFunction, 0, "DrawPortal"},
    {500, kFunction, 0, "MoveTo"},
    {502, kFunction, 0, "MoveToward"},
    {504, kFunction, 0, "StrafeTo"},
    {506, kFunction, 0, "StrafeFacing"},
    {508, kFunction, 0, "TurnTo"},
    {510, kFunction, 0, "TurnToward"},
    {512, kFunction, 0, "MakeNoise"},
    {514, kFunction, 0, "LineOfSightTo"},
    {517, kFunction, 0, "FindPathToward"},
    {518, kFunction, 0, "FindPathTo"},
    {519, kFunction, 0, "describeSpec"},
    {520, kFunction, 0, "actorReachable"},
    {521, kFunction, 0, "pointReachable"},
    {522, kFunction, 0, "ClearPaths"},
    {523, kFunction, 0, "EAdjustJump"},
    {524, kFunction, 0, "FindStairRotation"},
    {525, kFunction, 0, "FindRandomDest"},
    {526, kFunction, 0, "PickWallAdjust"},
    {527, kFunction, 0, "WaitForLanding"},
    {529, kFunction, 0, "AddPawn"},
    {530, kFunction, 0, "RemovePawn"},
    {531, kFunction, 0, "PickTarget"},
    {532, kFunction, 0, "PlayerCanSeeMe"},
    {533, kFunction, 0, "CanSee"},
    {534, kFunction, 0, "PickAnyTarget"},
    {536, kFunction, 0, "SaveConfig"},
    {539, kFunction, 0, "GetMapName"},
    {540, kFunction, 0, "FindBestInventoryPath"},
    {544, kFunction, 0, "ResetKeyboard"},
    {545, kFunction, 0, "GetNextSkin"},
    {546, kFunction, 0, "UpdateURL"},
    {547, kFunction, 0, "GetURLMap"},
    {548, kFunction, 0, "FastTrace"},
    {1033, kFunction, 0, "RandRange"},
    {3969, kFunction, 0, "MoveSmooth"},
    {3970, kFunction, 0, "SetPhysics"},
    {3971, kFunction, 0, "AutonomousPhysics"},
    {129, kPreOperator, 0, "!"},
    {137, kPreOperator, 0, "++"},
    {138, kPreOperator, 0, "--"},
    {141, kPreOperator, 0, "~"},
    {143, kPreOperator, 0, "-"},
    {163, kPreOperator, 0, "++"},
    {164, kPreOperator, 0, "--"},
    {169, kPreOperator, 0, "-"},
    {211, kPreOperator, 0, "-"},
    {139, kPostOperator, 0, "++"},
    {140, kPostOperator, 0, "--"},
    {165, kPostOperator, 0, "++"},
    {166, kPostOperator, 0, "--"},
    {112, kBinaryOperator, 40, "$"},
    {114, kBinaryOperator, 24, "=="},
    {115, kBinaryOperator, 24, "<"},
    {116, kBinaryOperator, 24, ">"},
    {119, kBinaryOperator, 26, "!="},
    {120, kBinaryOperator, 24, "<="},
    {121, kBinaryOperator, 24, ">="},
    {122, kBinaryOperator, 24, "=="},
    {123, kBinaryOperator, 26, "!="},
    {124, kBinaryOperator, 24, "~="},
    {130, kBinaryOperator, 30, "&&"},
    {131, kBinaryOperator, 30, "^^"},
    {132, kBinaryOperator, 32, "||"},
    {133, kBinaryOperator, 34, "*="},
    {134, kBinaryOperator, 34, "/="},
    {135, kBinaryOperator, 34, "+="},
    {136, kBinaryOperator, 34, "-="},
    {142, kBinaryOperator, 24, "=="},
    {144, kBinaryOperator, 16, "*"},
    {145, kBinaryOperator, 16, "/"},
    {146, kBinaryOperator, 20, "+"},
    {147, kBinaryOperator, 20, "-"},
    {148, kBinaryOperator, 22, "<<"},
    {149, kBinaryOperator, 22, ">>"},
    {150, kBinaryOperator, 24, "<"},
    {151, kBinaryOperator, 24, ">"},
    {152, kBinaryOperator, 24, "<="},
    {153, kBinaryOperator, 24, ">="},
    {154, kBinaryOperator, 24, "=="},
    {155, kBinaryOperator, 26, "!="},
    {156, kBinaryOperator, 28, "&"},
    {157, kBinaryOperator, 28, "^"},
    {158, kBinaryOperator, 28, "|"},
    {159, kBinaryOperator, 34, "*="},
    {160, kBinaryOperator, 34, "/="},
    {161, kBinaryOperator, 34, "+="},
    {162, kBinaryOperator, 34, "-="},
    {168, kBinaryOperator, 40, "@"},
    {170, kBinaryOperator, 12, "**"},
    {171, kBinaryOperator, 16, "*"},
    {172, kBinaryOperator, 16, "/"},
    {173, kBinaryOperator, 18, "%"},
    {174, kBinaryOperator, 20, "+"},
    {175, kBinaryOperator, 20, "-"},
    {176, kBinaryOperator, 24, "<"},
    {177, kBinaryOperator, 24, ">"},
    {178, kBinaryOperator, 24, "<="},
    {179, kBinaryOperator, 24, ">="},
    {180, kBinaryOperator, 24, "=="},
    {181, kBinaryOperator, 26, "!="},
    {182, kBinaryOperator, 34, "*="},
    {183, kBinaryOperator, 34, "/="},
    {184, kBinaryOperator, 34, "+="},
    {185, kBinaryOperator, 34, "-="},
    {196, kBinaryOperator, 22, ">>>"},
    {203, kBinaryOperator, 26, "!="},
    {210, kBinaryOperator, 24, "~="},
    {212, kBinaryOperator, 16, "*"},
    {213, kBinaryOperator, 16, "*"},
    {214, kBinaryOperator, 16, "/"},
    {215, kBinaryOperator, 20, "+"},
    {216, kBinaryOperator, 20, "-"},
    {217, kBinaryOperator, 24, "=="},
    {218, kBinaryOperator, 26, "!="},
    {219, kBinaryOperator, 16, "Dot"},
    {220, kBinaryOperator, 16, "Cross"},
    {221, kBinaryOperator, 34, "*="},
    {222, kBinaryOperator, 34, "/="},
    {223, kBinaryOperator, 34, "+="},
    {224, kBinaryOperator, 34, "-="},
    {242, kBinaryOperator, 24, "=="},
    {243, kBinaryOperator, 26, "!="},
    {254, kBinaryOperator, 24, "=="},
    {255, kBinaryOperator, 26, "!="},
    {275, kBinaryOperator, 22, "<<"},
    {276, kBinaryOperator, 22, ">>"},
    {287, kBinaryOperator, 16, "*"},
    {288, kBinaryOperator, 16, "*"},
    {289, kBinaryOperator, 16, "/"},
    {290, kBinaryOperator, 34, "*="},
    {291, kBinaryOperator, 34, "/="},
    {296, kBinaryOperator, 16, "*"},
    {297, kBinaryOperator, 34, "*="},
    {316, kBinaryOperator, 20, "+"},
    {317, kBinaryOperator, 20, "-"},
    {318, kBinaryOperator, 34, "+="},
    {319, kBinaryOperator, 34, "-="},
    {549, kBinaryOperator, 20, "-"},
    {550, kBinaryOperator, 16, "*"},
    {551, kBinaryOperator, 20, "+"},
    {552, kBinaryOperator, 16, "*"},
    {322, kBinaryOperator, 44, "$="},
};

}  // namespace

const TNativeFunction* FindNativeFunction(std::int32_t index) {
    for (const auto& native : kNatives) {
        if (native.index == index) return &native;
    }
    return nullptr;
}

const TNativeFunction* NativeFunctions(std::size_t* count) {
    *count = std::size(kNatives);
    return kNatives;
}

namespace {
constexpr std::uint32_t kFuncPreOperator = 0x10;
constexpr std::uint32_t kFuncNative = 0x400;
constexpr std::uint32_t kFuncOperator = 0x1000;
}  // namespace

TNativeTable::TNativeTable(bool withFixedRecords) {
    if (!withFixedRecords) return;
    for (const auto& native : kNatives) byIndex_.emplace(native.index, native);  // first one wins
}

void TNativeTable::Merge(const TNativeTable& other) {
    for (const auto& [index, native] : other.byIndex_) {
        TNativeFunction copy = native;
        if (native.package) {  // a declared name: kept here as well
            names_.emplace_back(native.name);
            copy.name = names_.back().c_str();
        }
        byIndex_[index] = copy;
    }
}

const TNativeTable& TNativeTable::Fixed() {
    static const TNativeTable table;
    return table;
}

void TNativeTable::AddDeclarations(TUTPackage& package) {
    for (const auto& entry : package.Exports) {
        if (entry->GetClassName() != "Function") continue;
        try {
            AddDeclaration(package, *entry);
        } catch (const std::exception&) {
            // A damaged function declares nothing; the others still do.
        }
    }
}

void TNativeTable::AddDeclaration(TUTPackage& package, TUTExportTableObjectData& entry) {
    TUTObject& object = entry.GetObject();
    ObjectReadScope scope(object, true);
    const auto* function = dynamic_cast<const TUTObjectClassFunction*>(&object);
    if (!function || !(function->FunctionFlags() & kFuncNative) || function->iNative() == 0) {
        return;
    }
    TNativeFunction native{function->iNative(), kFunction, 0, nullptr, &package, entry.exportIndex};
    if (function->FunctionFlags() & kFuncOperator) {
        if (function->FunctionFlags() & kFuncPreOperator) {
            native.kind = kPreOperator;
        } else if (function->OperatorPrecedence() != 0) {
            native.kind = kBinaryOperator;
            native.precedence = function->OperatorPrecedence();
        } else {
            native.kind = kPostOperator;
        }
    }
    names_.push_back(function->FriendlyName().empty() ? object.GetObjectName()
                                                      : function->FriendlyName());
    native.name = names_.back().c_str();
    byIndex_[native.index] = native;
}

const TNativeFunction* TNativeTable::Find(std::int32_t index) const {
    const auto it = byIndex_.find(index);
    return it == byIndex_.end() ? nullptr : &it->second;
}

}  // namespace torvane::unrealpkg
