// ICMP echo through functions bound at run time from iphlpapi.dll or icmp.dll.
#include "wizard/IcmpApi.h"
#include "afx/SystemFiles.h"
#include "wizard/WideNarrowString.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

FARPROC Bind(HMODULE first, HMODULE second, const char* name)
{
    FARPROC proc = first ? GetProcAddress(first, name) : nullptr;
    if (!proc && second) proc = GetProcAddress(second, name);
    return proc;
}

const DWORD kEchoTimeoutMs = 1000;
// Room the system wants after the reply and its data for an ICMP error message.
const size_t kIcmpErrorRoom = 8;

}  // namespace

// Both from the system folder: a file of either name beside the wizard must not stand in.
CIcmpApi::CIcmpApi()
    : m_iphlpapi(afx::LoadSystemLibrary(L"iphlpapi.dll")), m_icmp(afx::LoadSystemLibrary(L"icmp.dll")),
      m_createFile(nullptr), m_sendEcho(nullptr), m_closeHandle(nullptr), m_handle(0)
{
    m_createFile = reinterpret_cast<CreateFileFn>(Bind(m_iphlpapi, m_icmp, "IcmpCreateFile"));
    m_closeHandle = reinterpret_cast<CloseHandleFn>(Bind(m_iphlpapi, m_icmp, "IcmpCloseHandle"));
    m_sendEcho = reinterpret_cast<SendEchoFn>(Bind(m_iphlpapi, m_icmp, "IcmpSendEcho"));
    if (m_createFile) {
        HANDLE handle = m_createFile();
        if (handle != INVALID_HANDLE_VALUE) m_handle = handle;
    }
}

CIcmpApi::~CIcmpApi()
{
    if (m_closeHandle && m_handle) {
        m_closeHandle(m_handle);
        m_handle = 0;
    }
    if (m_iphlpapi) FreeLibrary(m_iphlpapi);
    if (m_icmp) FreeLibrary(m_icmp);
}

int CIcmpApi::SendEcho(const wchar_t* destination, const wchar_t* data, ICMP_ECHO_REPLY* replyCopy)
{
    if (!m_sendEcho || !m_handle || !destination || !data) return 0;
    size_t dataLength = std::wcslen(data);
    if (dataLength > 0xFFFF) return 0;
    // Big enough for the reply, its data and an error message on either architecture.
    std::vector<unsigned char> reply;
    try {
        reply.assign(sizeof(ICMP_ECHO_REPLY) + dataLength + kIcmpErrorRoom + 1, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    CWideNarrowString destinationText{std::wstring(destination)};
    CWideNarrowString dataText{std::wstring(data)};
    IPAddr address = inet_addr(destinationText.Narrow().c_str());
    // Text that is no address must not turn into a broadcast.
    if (address == INADDR_NONE) return 0;
    std::string payload = dataText.Narrow();
    if (payload.size() < dataLength) payload.resize(dataLength);
    DWORD count = m_sendEcho(m_handle, address, &payload[0], static_cast<WORD>(dataLength), nullptr,
                             reply.data(), static_cast<DWORD>(reply.size()), kEchoTimeoutMs);
    if (replyCopy) std::memcpy(replyCopy, reply.data(), sizeof(ICMP_ECHO_REPLY));
    return static_cast<int>(count);
}
