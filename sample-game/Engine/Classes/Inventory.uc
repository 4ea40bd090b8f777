//=============================================================================
// Inventory: an item a player can carry.
//=============================================================================
class Inventory extends Actor
	abstract
	native;

var() localized string PickupMessage;
var() int Charge;

defaultproperties
{
	PickupMessage="You picked up an item"
}
