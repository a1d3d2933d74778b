// The PC's adapters as GetAdaptersInfo gives them, for the setter's dialogs.
#include "netsetter/AdapterInfo.h"
#include <winsock2.h>
#include <iphlpapi.h>

std::vector<uint8_t> ReadAdapters()
{
    ULONG size = 0;
    DWORD r = GetAdaptersInfo(nullptr, &size);
    if ((r != ERROR_BUFFER_OVERFLOW && r != NO_ERROR) || size == 0)
        return {};
    std::vector<uint8_t> buffer(size, 0);
    if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) != NO_ERROR)
        return {};
    return buffer;
}
