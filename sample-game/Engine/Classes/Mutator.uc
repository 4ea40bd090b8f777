//=============================================================================
// Mutator: changes the rules of a game.
//=============================================================================
class Mutator extends Info
	native;

var Mutator NextMutator;

function AddMutator( Mutator M )
{
	if ( NextMutator == None )
		NextMutator = M;
	else
		NextMutator.AddMutator(M);
}

function bool AlwaysKeep( Actor Other )
{
	if ( NextMutator != None )
		return NextMutator.AlwaysKeep(Other);
	return false;
}
