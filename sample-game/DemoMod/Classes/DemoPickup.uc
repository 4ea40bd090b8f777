//=============================================================================
// DemoPickup: a pickup that grants a few charges.
//=============================================================================
class DemoPickup extends Inventory;

var() int BonusCharge;

function GiveCharge()
{
	Charge = class'DemoMath'.static.Clamp3(Charge + BonusCharge, 0, 100);
}

defaultproperties
{
	BonusCharge=25
	PickupMessage="You picked up a demo pickup"
}
