// Which received datagrams belong to the network setter's current request: plain code, no
// sockets or windows, so any datagram can be checked on its own.
#pragma once
#include <cstddef>
#include <cstdint>

// Request operations (byte 0 of a request), also the dialog's pending operation.
enum : int { kPendingSearch = 0, kPendingSetup = 2, kPendingLogon = 3, kPendingLogoff = 4,
             kPendingQuery = 8, kPendingSetClock = 9 };

enum class ReplyKind { Drop, Device, AdvancedData };

// Device answers must carry the current sequence number and echo the PC's MAC, and count only
// while no advanced-data request is pending; datagrams shorter than a packet are dropped.
ReplyKind ClassifyReply(const uint8_t* data, size_t length, uint32_t sequence, int pending,
                        const uint8_t pcMac[6]);
