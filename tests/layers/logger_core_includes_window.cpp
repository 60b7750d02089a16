// Must not compile: the widget-free logger download reaching for the Data List's window.
#include "logger/DataListWindow.h"
#include "logger/MemoryDownload.h"
