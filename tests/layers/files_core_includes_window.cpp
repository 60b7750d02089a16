// Must not compile: the widget-free measurement files reaching for the File List's window.
#include "files/FileListWindow.h"
#include "files/RecordFile.h"
