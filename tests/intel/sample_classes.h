#pragma once

#include <string_view>

#include "intel/index_builder.h"
#include "intel/symbol_index.h"

// Three small classes the name resolution, completion and parameter hint tests share: Object
// (Core) with a struct, an enum, a constant and global functions; Actor and Pawn (Engine) with
// members, a state, and a Pawn function whose lines use every way of reaching a name.
namespace torvane::intel {

inline constexpr std::string_view kObject =
    "class Object native;\n"
    "struct Vector { var float X, Y, Z; };\n"
    "enum ESide { SIDE_Left, SIDE_Right };\n"
    "const Pi = 3.14;\n"
    "native(225) static final function float VSize(vector A);\n"
    "native static final operator(16) float * (float A, float B);\n"
    "native final function bool IsA(name ClassName);\n"
    "native(113) final function GotoState(optional name NewState);\n";
inline constexpr std::string_view kActor =
    "class Actor extends Object;\n"
    "var Actor Owner;\n"
    "var vector Location;\n"
    "var int Health;\n"
    "var ESide Side;\n"
    "function Touch(Actor Other) { }\n"
    "function Actor Spawn(class<Actor> SpawnClass) { }\n"
    "static function int Rating() { }\n"
    "state Idle { function Touch(Actor Other) { } }\n";
inline constexpr std::string_view kPawn =
    "class Pawn extends Actor;\n"
    "var Pawn Enemy;\n"
    "var int Health;\n"
    "function Touch(Actor Other)\n"
    "{\n"
    "\tlocal Pawn P;\n"
    "\tlocal int Health;\n"
    "\tP = Pawn(Other);\n"                              // 8: cast
    "\tP.Enemy.Owner.Touch(Self);\n"                   // 9: a.b.c chain
    "\tSuper.Touch(Other);\n"                          // 10
    "\tSuper(Actor).Touch(Other);\n"                   // 11
    "\tHealth = Default.Health + Self.Health;\n"       // 12: local, Default., Self.
    "\tHealth = class'Pawn'.static.Rating();\n"        // 13
    "\tEnemy.Location.X = VSize(Location) * Pi;\n"     // 14: struct member, global function, constant
    "\tSide = SIDE_Right; Side = ESide.SIDE_Left;\n"    // 15: enum value, alone and qualified
    "\tSpawn(class'Pawn').Owner = Missing.Thing;\n"    // 16: return type; an unknown name
    "\tTouch(Other);\n"                                // 17: the class's own
    "}\n"
    "state Idle\n"
    "{\n"
    "\tfunction Bump() { Touch(None); }\n"             // 21: the state's inherited Touch
    "Begin:\n"
    "\tGotoState('Idle');\n"
    "}\n";

// Object.uc, Actor.uc and Pawn.uc, linked.
inline void FillSampleIndex(SymbolIndex& index) {
    index.SetPackageOrder({"Core", "Engine"});
    index.SetUnit(SourceUnit("Object.uc", "Core", kObject, {1, 1}));
    index.SetUnit(SourceUnit("Actor.uc", "Engine", kActor, {1, 1}));
    index.SetUnit(SourceUnit("Pawn.uc", "Engine", kPawn, {1, 1}));
    index.Link();
}

}  // namespace torvane::intel
