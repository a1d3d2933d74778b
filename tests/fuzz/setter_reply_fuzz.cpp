// Fuzzes the network setter's reply filter and device table with a stream of datagrams: the
// first bytes choose the pending operation and the selected device, the rest is cut into replies.
#include "netsetter/DeviceTable.h"
#include "netsetter/ReplyFilter.h"
#include "tests/fuzz/FuzzCheck.h"
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    const int pendings[] = {kPendingSearch, kPendingSetup, kPendingLogon, kPendingLogoff, kPendingQuery,
                            kPendingSetClock};
    int pending = pendings[data[0] % 6];
    uint8_t selected[6];
    std::memcpy(selected, data + 1, 6);
    const uint8_t pcMac[6] = {0x02, 0, 0, 0xAA, 0xBB, 0xCC};
    CDeviceModel model;
    size_t pos = 7;
    while (pos < size) {
        // A length byte, then that many bytes times two (replies are up to 255 bytes long).
        size_t length = std::min<size_t>(size_t(data[pos]) * 2, size - pos - 1);
        const uint8_t* reply = data + pos + 1;
        pos += 1 + length;
        // The filter expects the reply's own transaction id when the first byte's top bit is set.
        uint32_t id = 0x33333333u;
        if ((data[0] & 0x80) && length >= 5)
            id = uint32_t(reply[1]) << 24 | uint32_t(reply[2]) << 16 | uint32_t(reply[3]) << 8 | reply[4];
        ClassifyReply(reply, length, id, pending, pcMac);
        int before = model.CountDevices();
        ReplyOutcome outcome = model.OnReply(reply, length, pending, selected);
        FUZZ_CHECK(model.CountDevices() == before + (outcome.what == ReplyOutcome::Added ? 1 : 0));
    }
    model.BuildDeviceTable(selected);
    const auto& table = model.Table();
    FUZZ_CHECK(int(table.size()) == model.CountDevices());
    for (size_t i = 0; i < table.size(); ++i) {
        FUZZ_CHECK(std::memchr(table[i].name, 0, sizeof table[i].name) != nullptr);
        FUZZ_CHECK(model.Find(table[i].mac) != nullptr);
        // Half the inputs read names as Shift-JIS: no storage device's name may come out with a
        // character cut in half (other kinds show their names as they come).
        LeadByteTest sjis;
        if (data[0] & 0x40)
            sjis = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
        ListName name = DeviceListName(table[i], sjis);
        for (size_t at = 0, n; table[i].kind == kKindStorage && at < name.text.size(); at += n)
            FUZZ_CHECK((n = CharBytes(name.text, at, sjis)) != 0);
        model.IsStorageDevice(int(i));
    }
    return 0;
}
