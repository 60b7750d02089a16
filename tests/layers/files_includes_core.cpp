// Compiles: the measurement files using the bottom library, as they do.
#include "core/Text.h"
#include "files/FileFormat.h"
