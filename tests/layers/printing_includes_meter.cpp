// Must not compile: the print desk reaching for the live poll, which the program pauses
// for it through the hold it is given.
#include "meter/LivePoll.h"
#include "printing/Printing.h"
