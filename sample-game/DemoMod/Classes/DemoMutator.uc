//=============================================================================
// DemoMutator: counts the actors it is asked about.
//=============================================================================
class DemoMutator extends Mutator
	config(DemoMod);

var config int MaxSeen;
var int Seen;

function bool AlwaysKeep( Actor Other )
{
	Seen++;
	if ( Seen > MaxSeen )
		Log(class'DemoObject'.static.Describe(Seen, "actor"));
	return Super.AlwaysKeep(Other);
}

defaultproperties
{
	MaxSeen=100
}
