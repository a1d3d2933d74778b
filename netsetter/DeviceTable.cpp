// The found devices: eight buckets of whole answers and the sorted table the list is filled from.
#include "netsetter/DeviceTable.h"
#include <algorithm>
#include <cstring>

namespace {

uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

bool IsZeroMac(const uint8_t* mac)
{
    static const uint8_t zero[6] = {};
    return std::memcmp(mac, zero, 6) == 0;
}

// The name field of an answer, cut at its terminator or at the end of the 65-byte field.
std::string AnswerName(const DeviceRequestPacket& p)
{
    const char* text = reinterpret_cast<const char*>(p.text);
    return std::string(text, strnlen(text, sizeof(p.text)));
}

bool SelectedAndReady(const DeviceRequestPacket& p, const uint8_t* selectedMac)
{
    return p.status != kStatusNotReady && selectedMac && !IsZeroMac(selectedMac) &&
           std::memcmp(p.deviceMac, selectedMac, 6) == 0;
}

DeviceTableEntry MakeEntry(const DeviceRequestPacket& p)
{
    DeviceTableEntry e = {};
    std::memcpy(e.mac, p.deviceMac, 6);
    e.addressType = Be16(p.type);
    e.address = Be32(p.address);
    e.mask = Be32(p.mask);
    e.gateway = Be32(p.gateway);
    e.webPort = Be16(p.word);
    std::string name = AnswerName(p);
    std::memcpy(e.name, name.data(), std::min<size_t>(name.size(), sizeof(e.name) - 1));
    e.op = p.operation;
    e.kind = uint8_t(DeviceKindOfOp(p.operation));
    bool allFF = std::all_of(p.auth, p.auth + sizeof(p.auth), [](uint8_t b) { return b == 0xFF; });
    e.protectedFlag = (allFF || e.kind == kKindStorage) ? 1 : 0;
    return e;
}

}  // namespace

int DeviceKindOfOp(uint8_t op)
{
    switch (op) {
    case kOpAnswerKind1: return 0;
    case kOpAnswerKind2: return 1;
    case kOpAnswerKind3: return 2;
    case kOpAnswerKind4: return 3;
    default: return -1;
    }
}

int CompareDeviceKeys(int mode, const uint8_t* a, const uint8_t* b)
{
    if (mode == 1) {
        int d = std::memcmp(a, b, 6);
        return d < 0 ? -1 : d > 0 ? 1 : 0;
    }
    if (mode != 0)
        return 0;
    size_t la = std::strlen(reinterpret_cast<const char*>(a));
    size_t lb = std::strlen(reinterpret_cast<const char*>(b));
    for (size_t i = 0, n = std::min(la, lb); i < n; ++i)
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
    return la == lb ? 0 : la > lb ? 1 : -1;
}

ListName DeviceListName(const DeviceTableEntry& entry, const LeadByteTest& isLeadByte)
{
    ListName out;
    std::string name(entry.name, strnlen(entry.name, sizeof(entry.name)));
    if (entry.kind != kKindStorage) {
        out.text = name;
        return out;
    }
    name.resize(std::min<size_t>(name.size(), 30));
    std::string copy;
    size_t q = std::string::npos;
    for (size_t i = 0, n; i < name.size() && (n = CharBytes(name, i, isLeadByte)) != 0; i += n) {
        char c = name[i];
        if (n == 1 && (c == '"' || c == '\'' || c == '\\'))
            copy += '\\';
        else if (n == 1 && c == '&')
            copy += '&';
        else if (n == 1 && c == '?' && q == std::string::npos)
            q = copy.size();
        copy.append(name, i, n);
    }
    out.domainMode = q != std::string::npos && q > 0;
    out.text = out.domainMode ? copy.substr(0, q) : copy;
    return out;
}

ReplyOutcome CDeviceModel::OnReply(const uint8_t* data, size_t length, int pendingOp, const uint8_t selectedMac[6])
{
    ReplyOutcome out;
    if (!data)
        return out;
    DeviceRequestPacket p = {};
    std::memcpy(&p, data, std::min(length, sizeof(p)));
    if (DeviceKindOfOp(p.operation) < 0)
        return out;
    out.restartSearch = SelectedAndReady(p, selectedMac);
    std::vector<DeviceRequestPacket>& bucket = m_buckets[p.deviceMac[5] & 7];
    for (DeviceRequestPacket& known : bucket) {
        if (std::memcmp(known.deviceMac, p.deviceMac, 6) != 0)
            continue;
        out.status = p.status;
        if (pendingOp == kReplyPendingSetup) {
            out.what = ReplyOutcome::SetupAnswer;
            known = p;
        } else if (pendingOp == kReplyPendingLogon) {
            out.what = ReplyOutcome::LogonAnswer;
            std::memcpy(out.token, p.auth, sizeof(out.token));
        } else {
            out.what = ReplyOutcome::Known;  // the first answer of a device wins
        }
        return out;
    }
    if (IsZeroMac(p.deviceMac))
        return out;
    bucket.push_back(p);
    out.what = ReplyOutcome::Added;
    return out;
}

void CDeviceModel::Clear()
{
    for (auto& bucket : m_buckets)
        bucket.clear();
    m_table.clear();
}

int CDeviceModel::CountDevices() const
{
    size_t n = 0;
    for (const auto& bucket : m_buckets)
        n += bucket.size();
    return int(n);
}

bool CDeviceModel::BuildDeviceTable(const uint8_t selectedMac[6])
{
    std::vector<const DeviceRequestPacket*> all;
    for (const auto& bucket : m_buckets)
        for (const DeviceRequestPacket& p : bucket)
            all.push_back(&p);
    // Names are compared as terminated texts of at most the field's 65 bytes.
    auto less = [](const DeviceRequestPacket* a, const DeviceRequestPacket* b) {
        std::string na = AnswerName(*a), nb = AnswerName(*b);
        int d = CompareDeviceKeys(0, reinterpret_cast<const uint8_t*>(na.c_str()),
                                  reinterpret_cast<const uint8_t*>(nb.c_str()));
        if (d == 0)
            d = CompareDeviceKeys(1, a->deviceMac, b->deviceMac);
        return d < 0;
    };
    std::sort(all.begin(), all.end(), less);
    bool restart = false;
    m_table.clear();
    m_table.reserve(all.size());
    for (const DeviceRequestPacket* p : all) {
        m_table.push_back(MakeEntry(*p));
        restart = restart || SelectedAndReady(*p, selectedMac);
    }
    return restart;
}

bool CDeviceModel::IsStorageDevice(int index) const
{
    return index >= 0 && size_t(index) < m_table.size() && m_table[size_t(index)].kind == kKindStorage;
}

const DeviceRequestPacket* CDeviceModel::Find(const uint8_t mac[6]) const
{
    for (const DeviceRequestPacket& p : m_buckets[mac[5] & 7])
        if (std::memcmp(p.deviceMac, mac, 6) == 0)
            return &p;
    return nullptr;
}
