// Compiles: the widget-free logger using the widget-free file writer, as the command line does.
#include "files/GridWriter.h"
#include "logger/StartTime.h"
