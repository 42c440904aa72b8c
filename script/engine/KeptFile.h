#pragma once
// A file the player writes back (the options, the global variables) is
// written over only when the run read it whole: one that was not holds what
// the run lacks, and is left byte for byte for its author to mend.

#include "frame/TextString.h"

struct KeptFile {
    // Why it is left, as a sentence; empty when it may be written.
    kivotasuGameKit::CTextString why;
    // Said once a run; a read the close interrupted is no fault of the file,
    // and goes unsaid.
    bool said = false;
};
