// The user-interface language rule shared by the wizard, the guide and the network setter.
#pragma once
#include <windows.h>

// Folds a Windows language id to one of the four the kit ships: 1028, 1033, 1041, 2052.
LANGID FoldUILanguage(LANGID lang);

// 1 on the NT platform from version 5 on, 0 on older systems, -1 when the version is unreadable.
int NtFiveOrLater();

// The user's UI language folded as above; 0 when the system version cannot be read.
LANGID GetUILanguage();
