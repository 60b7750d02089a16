// Must not compile: the measurement files reaching up to the main window.
#include "files/FileFormat.h"
#include "panel/Panel.h"
