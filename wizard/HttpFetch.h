// One HTTP download through WinINet on a reader thread that its owner can walk away from.
#pragma once
#include <windows.h>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

// WinINet may block in a read for as long as a stalled server keeps the connection open
// (Wine ignores the receive time-out), and closing a handle from another thread does not
// wake it there. So every WinINet call runs on a reader thread, and the owner only waits
// for its results in short steps, checking its cancel flag between them. An owner that stops
// leaves the reader to end by itself when its call returns; the two share their state, so
// neither touches memory the other has freed.
class CHttpFetch {
public:
    // Starts the request at once. The agent is the one the update server expects.
    explicit CHttpFetch(const std::wstring& url);
    ~CHttpFetch();
    CHttpFetch(const CHttpFetch&) = delete;
    CHttpFetch& operator=(const CHttpFetch&) = delete;

    enum Result { kDone, kFailed, kCancelled };

    // Waits for the response: its status code and, when it announced one, its length.
    // kFailed carries the error in `error`.
    Result WaitResponse(const std::atomic<LONG>& cancel, DWORD& status, DWORD& length, bool& hasLength,
                        DWORD& error);
    // The next piece of the body into `data`; empty at the end. Only after WaitResponse.
    Result Read(std::vector<char>& data, const std::atomic<LONG>& cancel, DWORD& error);

    // What the reader thread and its owner share (HttpFetch.cpp).
    struct Shared;

private:
    Result Wait(const std::atomic<LONG>& cancel);
    std::shared_ptr<Shared> m_shared;
};
