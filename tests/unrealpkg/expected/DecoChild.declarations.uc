//================================================================================
// DecoChild.
//================================================================================
class DecoChild expands DecoFlow
	abstract;

var() config int Limit;
var() localized string Greeting;
var transient int Scratch;

function int Loops (int N)
{
	local int Base;
}

static function string Describe (DecoChild C)
{
}

defaultproperties
{
    Limit=50
    Greeting="Hi there"
}
