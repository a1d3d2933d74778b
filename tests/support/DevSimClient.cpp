// Client of the device simulator's control port.
#include "tests/support/DevSimClient.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr DWORD kAnswerMs = 30000;

const char* Env(const char* name, const char* fallback) {
    const char* v = getenv(name);
    return v && *v ? v : fallback;
}
}  // namespace

DevSimClient::DevSimClient() : sock_(uintptr_t(INVALID_SOCKET)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

DevSimClient::~DevSimClient() {
    if (SOCKET(sock_) != INVALID_SOCKET) closesocket(SOCKET(sock_));
    WSACleanup();
}

bool DevSimClient::Available() { return getenv("KIT_DEV_IP") && *getenv("KIT_DEV_IP"); }

bool DevSimClient::Connect() {
    if (SOCKET(sock_) != INVALID_SOCKET) return true;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        error_ = "socket failed";
        return false;
    }
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(uint16_t(atoi(Env("KIT_DEVSIM_PORT", "6565"))));
    to.sin_addr.s_addr = inet_addr(Env("KIT_DEV_IP", "127.0.0.1"));
    // Every command is answered at once; a simulator that has stopped answering fails the test.
    DWORD bound = kAnswerMs;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bound), sizeof bound);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&bound), sizeof bound);
    if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        closesocket(s);
        error_ = "cannot reach the device simulator";
        return false;
    }
    sock_ = uintptr_t(s);
    return true;
}

bool DevSimClient::Command(const std::string& json, std::vector<std::string>* reply) {
    std::vector<std::string> lines;
    if (!Connect()) return false;
    std::string out = json + "\n";
    for (size_t sent = 0; sent < out.size();) {
        int n = send(SOCKET(sock_), out.data() + sent, int(out.size() - sent), 0);
        if (n <= 0) {
            error_ = "send failed";
            return false;
        }
        sent += size_t(n);
    }
    // First line "OK", "OK n" (n more lines follow) or "ERR text".
    size_t expected = 1;
    while (lines.size() < expected) {
        size_t nl = pending_.find('\n');
        if (nl == std::string::npos) {
            char buf[65536];
            int n = recv(SOCKET(sock_), buf, sizeof buf, 0);
            if (n <= 0) {
                error_ = n < 0 && WSAGetLastError() == WSAETIMEDOUT ? "no answer from the device simulator"
                                                                     : "connection lost";
                // What the simulator says later would answer the next command.
                closesocket(SOCKET(sock_));
                sock_ = uintptr_t(INVALID_SOCKET);
                pending_.clear();
                return false;
            }
            pending_.append(buf, size_t(n));
            continue;
        }
        lines.push_back(pending_.substr(0, nl));
        pending_.erase(0, nl + 1);
        if (lines.size() == 1) {
            if (lines[0].compare(0, 2, "OK") != 0) {
                error_ = lines[0];
                return false;
            }
            if (lines[0].size() > 3) expected += size_t(atoi(lines[0].c_str() + 3));
        }
    }
    if (reply) reply->assign(lines.begin() + 1, lines.end());
    return true;
}

bool DevSimClient::Load(const std::string& scenarioJson) {
    size_t brace = scenarioJson.find('{');
    return brace != std::string::npos && Command(std::string(scenarioJson).insert(brace + 1, "\"cmd\":\"load\","));
}

bool DevSimClient::Reset() { return Command("{\"cmd\":\"reset\"}"); }
bool DevSimClient::Clear() { return Command("{\"cmd\":\"clear\"}"); }
bool DevSimClient::Hold(unsigned ms) { return Command("{\"cmd\":\"hold\",\"ms\":" + std::to_string(ms) + "}"); }

std::vector<DevSimRequest> DevSimClient::Requests() {
    std::vector<std::string> lines;
    std::vector<DevSimRequest> out;
    Command("{\"cmd\":\"requests\"}", &lines);
    for (const std::string& line : lines)
        if (size_t space = line.find(' '); space != std::string::npos)
            out.push_back({atof(line.substr(0, space).c_str()), DevSimHex(line.substr(space + 1))});
    return out;
}

std::vector<std::vector<uint8_t>> DevSimClient::Sent(uint8_t op) {
    std::vector<std::vector<uint8_t>> out;
    for (DevSimRequest& r : Requests())
        if (!r.bytes.empty() && r.bytes[0] == op) out.push_back(std::move(r.bytes));
    return out;
}

std::string DevSimClient::Devices() {
    std::vector<std::string> lines;
    return Command("{\"cmd\":\"devices\"}", &lines) && !lines.empty() ? lines[0] : std::string();
}

std::string DevSimMac(const uint8_t mac[6]) {
    char text[18];
    snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

std::vector<uint8_t> DevSimHex(const std::string& hex) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(uint8_t(strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}
