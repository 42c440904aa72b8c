#pragma once

// Thrown out of a tag whose read the close interrupted (the script a JUMP,
// CALL or ENDCALL goes to, a picture): nothing is wrong with the script or
// its files and nothing is said. It is no EScript nor std::exception, which
// the script-error catches take: the engine catches it in one place, which
// leaves the place before the tag for the close to save.
class EReadInterrupted {};
