// Must not compile: the bottom library reaching up to the platform seams.
#include "core/AppState.h"
#include "ui/Dialogs.h"
