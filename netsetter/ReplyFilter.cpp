// Which received datagrams belong to the network setter's current request.
#include "netsetter/ReplyFilter.h"
#include "finderlib/TavikPacket.h"
#include <cstring>

ReplyKind ClassifyReply(const uint8_t* data, size_t length, uint32_t sequence, int pending,
                        const uint8_t pcMac[6])
{
    // A short datagram would leave the previous reply's bytes in the buffer's tail.
    if (!data || length < kPacketSize || length > kReceiveBufferSize)
        return ReplyKind::Drop;
    const auto* p = reinterpret_cast<const DeviceRequestPacket*>(data);
    uint32_t id = uint32_t(p->transactionId[0]) << 24 | uint32_t(p->transactionId[1]) << 16 |
                  uint32_t(p->transactionId[2]) << 8 | p->transactionId[3];
    if (id != sequence)
        return ReplyKind::Drop;
    switch (p->operation) {
    case kOpAnswerKind1: case kOpAnswerKind2: case kOpAnswerKind3: case kOpAnswerKind4:
        if (pending == kPendingQuery || pending == kPendingSetClock)
            return ReplyKind::Drop;
        return std::memcmp(p->pcMac, pcMac, 6) == 0 ? ReplyKind::Device : ReplyKind::Drop;
    case kOpAdvancedAnswer:
        return ReplyKind::AdvancedData;
    default:
        return ReplyKind::Drop;
    }
}
