// Picture files decoded on worker threads; the window's thread waits for them in its own order.
#include "guide/PictureDecoder.h"
#include <objbase.h>

CPictureDecoder::CPictureDecoder(std::vector<std::wstring> files, HWND notify, UINT message, int threads,
                                 DecodeFn decode)
    : m_slots(new Slot[files.size()]), m_count(files.size()), m_decode(std::move(decode)), m_notify(notify),
      m_message(message)
{
    if (!m_decode)
        m_decode = [](const std::wstring& file, TDecodedPicture& out) { return CPictureEx::Decode(file.c_str(), out); };
    for (size_t i = 0; i < m_count; ++i)
        m_slots[i].file = std::move(files[i]);
    for (int t = 0; t < threads; ++t) {
        auto thread = std::make_unique<afx::CWorkerThread>();
        if (thread->Start([this] { return Work(); }))
            m_threads.push_back(std::move(thread));
    }
    // Without a worker the files are decoded where they are waited for.
}

CPictureDecoder::~CPictureDecoder()
{
    m_stop = true;
    m_threads.clear();  // each joins its thread
}

int CPictureDecoder::DefaultThreads()
{
    SYSTEM_INFO si = {};
    ::GetSystemInfo(&si);
    int n = int(si.dwNumberOfProcessors);
    return n < 1 ? 1 : n > 4 ? 4 : n;
}

unsigned CPictureDecoder::Work()
{
    // The decoders behind OLE picture loading are COM objects; a worker without a message
    // loop lives in the multithreaded apartment.
    HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    while (!m_stop) {
        size_t i = m_next.fetch_add(1);
        if (i >= m_count)
            break;
        DecodeSlot(m_slots[i]);
        // The window's thread learns of it by a message; the result stays in its slot.
        ::PostMessageW(m_notify, m_message, WPARAM(i), 0);
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}

void CPictureDecoder::DecodeSlot(Slot& slot)
{
    // A picture that throws (out of memory, say) is one that did not load; its slot must end
    // all the same, or its waiter would wait for ever, and the worker goes on to the next.
    try {
        slot.ok = m_decode(slot.file, slot.picture);
    } catch (...) {
        slot.ok = false;
    }
    if (!slot.ok)
        slot.picture.Release();
    slot.done.store(true, std::memory_order_release);
}

bool CPictureDecoder::Wait(size_t index, TDecodedPicture& out)
{
    Slot& slot = m_slots[index];
    if (m_threads.empty() && !slot.done)
        DecodeSlot(slot);
    bool quit = false;
    WPARAM quitCode = 0;
    while (!IsDone(index)) {
        if (quit) {
            ::Sleep(5);
            continue;
        }
        // Woken by the worker's message, or by any other message, which is served as the
        // modal loop that runs later would serve it.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        MSG msg;
        while (!quit && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
            } else if (msg.message != m_message || msg.hwnd != m_notify) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
    if (quit)
        ::PostQuitMessage(int(quitCode));
    out = std::move(slot.picture);
    return slot.ok;
}
