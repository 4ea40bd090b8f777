//================================================================================
// DecoFlow.
//================================================================================
class DecoFlow expands Object;

var int Total;
var float Ratio;
var string Label;
var name Tag;
var bool bReady;
var byte Level;

function int Loops (int N)
{
	local int i;
	local int j;
}

function string Branches (int A, int B)
{
}

function int Pick (int Code)
{
	local int R;
}

function float Maths (float X, float Y)
{
	local float Z;
}

function bool Logic (bool A, bool B)
{
}

defaultproperties
{
    Total=7
    Ratio=0.50
    Label="Hello"
    Tag=Idle
    bReady=True
    Level=3
}
