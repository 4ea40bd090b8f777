//=============================================================================
// Object: the root of the sample game's class tree.
//=============================================================================
class Object
	native
	noexport;

var native const int ObjectInternal[6];
var native const object Outer;
var native const name Name;
var native const class Class;

native(112) static final operator(40) string $ ( coerce string A, coerce string B );
native(231) final function Log( coerce string S, optional name Tag );
native(258) static final function bool ClassIsChildOf( class TestClass, class ParentClass );
