// Quentari.exe's objects with static storage: the instance mutex first, then the application.
#include "netsetter/QuentariApp.h"
#include <cstdlib>

namespace {
// Made before the application object, and released when the process exits.
const bool g_bInstanceMutex = (CreateInstanceMutex(), std::atexit(CloseInstanceMutex), true);
CQuentariApp theApp;
}  // namespace
