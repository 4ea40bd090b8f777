//================================================================================
// DecoStates.
//================================================================================
class DecoStates expands Object;

enum EMood {
	MOOD_Calm,
	MOOD_Angry,
	MOOD_Happy
};

struct Pair
{
	var int Key;
	var string Value;
};

const MaxItems=16;

var EMood Mood;
var Pair Items[4];
var Vector Where;
var Rotator Facing;
var array<int> Unused;

function Begin ()
{
}

function SetMood (EMood M)
{
}

state Working
{
	function Begin ()
	{
	}

}

state() Resting
{
	ignores  Begin;
}

defaultproperties
{
    Mood=MOOD_Happy
    Items(0)=(Key=1, Value="one")
    Items(2)=(Key=3, Value="three")
    Where=(X=1.00,Y=2.00,Z=3.00)
    Facing=(Pitch=0,Yaw=100,Roll=0)
}
