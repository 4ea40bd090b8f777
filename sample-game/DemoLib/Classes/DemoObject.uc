//=============================================================================
// DemoObject: shared helpers of the demo packages.
//=============================================================================
class DemoObject extends Object;

static function string Describe( int Count, string Thing )
{
	if ( Count == 1 )
		return "1 " $ Thing;
	return Count $ " " $ Thing $ "s";
}
