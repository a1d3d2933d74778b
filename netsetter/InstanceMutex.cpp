// The single-instance mutex, made during static initialisation and released at process exit.
#include "netsetter/QuentariApp.h"
#include "afx/NamedMutex.h"
#include <memory>

namespace {
std::unique_ptr<afx::CNamedMutex> g_instanceMutex;
}

bool CreateInstanceMutex()
{
    g_instanceMutex = std::make_unique<afx::CNamedMutex>(L"{Zev719967F0-DCC6-49b5-9C61-DE91175C3187}");
    return g_instanceMutex->Created();
}

void CloseInstanceMutex()
{
    g_instanceMutex.reset();
}

bool InstanceMutexExisted()
{
    return g_instanceMutex && g_instanceMutex->AlreadyExisted();
}
