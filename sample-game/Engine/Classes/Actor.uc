//=============================================================================
// Actor: anything that can be placed in a level.
//=============================================================================
class Actor extends Object
	abstract
	native;

#exec Texture Import File=Textures\S_Actor.pcx Name=S_Actor Mips=Off Flags=2

var(Advanced) bool bHidden;
var(Display) float DrawScale;
var Actor Owner;

event Spawned();
event Destroyed();
event Tick( float DeltaTime );

defaultproperties
{
	DrawScale=1.000000
}
