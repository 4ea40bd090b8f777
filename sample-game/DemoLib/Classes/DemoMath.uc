//=============================================================================
// DemoMath: small numeric helpers.
//=============================================================================
class DemoMath extends DemoObject
	abstract;

static function int Clamp3( int Value, int Low, int High )
{
	if ( Value < Low )
		return Low;
	if ( Value > High )
		return High;
	return Value;
}

static function int SumTo( int N )
{
	local int i, Total;

	for ( i = 1; i <= N; i++ )
		Total += i;
	return Total;
}
