// Reads and decodes picture files on a few worker threads while the window's thread goes on.
#pragma once
#include "afx/WorkerThread.h"
#include "guide/PictureEx.h"
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CPictureDecoder {
public:
    using DecodeFn = std::function<bool(const std::wstring& file, TDecodedPicture& out)>;
    // Starts decoding `files` on `threads` workers, taken in list order. Each finished file is
    // announced by posting `message` to `notify` with the file's index as wParam. `decode`
    // replaces CPictureEx::Decode (for tests).
    CPictureDecoder(std::vector<std::wstring> files, HWND notify, UINT message, int threads,
                    DecodeFn decode = nullptr);
    // Lets the workers finish the file each is on, joins them and releases what was not taken.
    ~CPictureDecoder();
    CPictureDecoder(const CPictureDecoder&) = delete;
    CPictureDecoder& operator=(const CPictureDecoder&) = delete;

    bool IsDone(size_t index) const { return m_slots[index].done.load(std::memory_order_acquire); }
    // Serves the thread's window messages until file `index` is done; then its result, the
    // decoded picture moved into `out` (false when the file could not be read or decoded).
    bool Wait(size_t index, TDecodedPicture& out);

    // How many workers suit this machine: one per processor, at most four.
    static int DefaultThreads();

private:
    unsigned Work();

    struct Slot {
        std::wstring file;
        TDecodedPicture picture;
        bool ok = false;
        std::atomic<bool> done{false};
    };
    // Decodes into the slot and marks it done, whatever the decoding throws.
    void DecodeSlot(Slot& slot);
    std::unique_ptr<Slot[]> m_slots;
    size_t m_count;
    DecodeFn m_decode;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_stop{false};
    HWND m_notify;
    UINT m_message;
    std::vector<std::unique_ptr<afx::CWorkerThread>> m_threads;
};
