// Client of the device simulator's control port (tools/devsim), for tests running under Wine in
// the PC namespace. The simulator's address comes from KIT_DEV_IP and KIT_DEVSIM_PORT.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct DevSimRequest {
    double seconds;              // since the simulator started, as the kernel received it
    std::vector<uint8_t> bytes;  // the datagram as received
};

class DevSimClient {
public:
    DevSimClient();
    ~DevSimClient();
    DevSimClient(const DevSimClient&) = delete;
    DevSimClient& operator=(const DevSimClient&) = delete;

    // True when KIT_DEV_IP is set (tests skip themselves otherwise).
    static bool Available();
    // scenarioJson: the body of a "load" command without "cmd", e.g. {"devices":[...]}.
    bool Load(const std::string& scenarioJson);
    bool Reset();
    bool Clear();
    // Stalls the simulator's protocol thread for ms (at most 5000) from now on; returns at once.
    bool Hold(unsigned ms);
    std::vector<DevSimRequest> Requests();
    // The datagrams of operation `op` (their first byte) among the requests, in order.
    std::vector<std::vector<uint8_t>> Sent(uint8_t op);
    std::string Devices();  // JSON array of the devices' current state
    const std::string& Error() const { return error_; }

private:
    bool Command(const std::string& json, std::vector<std::string>* lines = nullptr);
    bool Connect();
    uintptr_t sock_;
    std::string error_;
    std::string pending_;
};

// Helpers for building scenarios.
std::string DevSimMac(const uint8_t mac[6]);
std::vector<uint8_t> DevSimHex(const std::string& hex);
