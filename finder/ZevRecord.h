// The device record of the library's search table, as the finder reads it.
#pragma once
#include "finderlib/TavikPacket.h"
