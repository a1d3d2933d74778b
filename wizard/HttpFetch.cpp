// One HTTP download through WinINet on a reader thread that its owner can walk away from.
#include "wizard/HttpFetch.h"
#include <process.h>
#include <wininet.h>

namespace {

constexpr DWORD kPieceSize = 64 * 1024;
constexpr DWORD kPollMs = 50;

struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() { if (h) ::InternetCloseHandle(h); }
};

}  // namespace

struct CHttpFetch::Shared {
    explicit Shared(const std::wstring& u)
        : url(u), ready(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          proceed(::CreateEventW(nullptr, FALSE, FALSE, nullptr))
    {
    }
    ~Shared()
    {
        ::CloseHandle(ready);
        ::CloseHandle(proceed);
    }
    // Hands the result to the owner and waits for the next request; false when the owner left.
    bool Publish()
    {
        ::SetEvent(ready);
        ::WaitForSingleObject(proceed, INFINITE);
        return !abandoned;
    }

    const std::wstring url;
    const HANDLE ready;    // reader -> owner: a result is there
    const HANDLE proceed;  // owner -> reader: go on (or abandoned)
    std::atomic<bool> abandoned{false};
    // Written by the reader before `ready`, read by the owner after it.
    bool failed = false;
    DWORD error = 0;
    DWORD status = 0;
    DWORD length = 0;
    bool hasLength = false;
    std::vector<char> piece;
};

namespace {

unsigned __stdcall ReaderThread(void* param)
{
    std::shared_ptr<CHttpFetch::Shared>* handed = static_cast<std::shared_ptr<CHttpFetch::Shared>*>(param);
    std::shared_ptr<CHttpFetch::Shared> s = std::move(*handed);
    delete handed;
    InternetHandle session, request;
    auto fail = [&s] {
        s->failed = true;
        s->error = ::GetLastError();
        if (!s->error)
            s->error = ERROR_INTERNET_INTERNAL_ERROR;
        ::SetEvent(s->ready);
        return 0u;
    };
    session.h = ::InternetOpenW(L"Microsoft Internet Explorer", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session.h)
        return fail();
    // Always from the server, and nothing of a firmware image kept in the user's cache.
    request.h = ::InternetOpenUrlW(session.h, s->url.c_str(), nullptr, 0,
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (!request.h)
        return fail();
    DWORD size = sizeof(s->status), index = 0;
    if (!::HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &s->status, &size, &index))
        return fail();
    size = sizeof(s->length);
    index = 0;
    s->hasLength = ::HttpQueryInfoW(request.h, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &s->length,
                                    &size, &index) != FALSE;
    if (!s->Publish())
        return 0;
    for (;;) {
        s->piece.resize(kPieceSize);
        DWORD got = 0;
        if (!::InternetReadFile(request.h, s->piece.data(), kPieceSize, &got))
            return s->abandoned ? 0u : fail();
        s->piece.resize(got);
        if (!s->Publish() || got == 0)
            return 0;
    }
}

}  // namespace

CHttpFetch::CHttpFetch(const std::wstring& url) : m_shared(std::make_shared<Shared>(url))
{
    auto* handed = new std::shared_ptr<Shared>(m_shared);
    uintptr_t thread = _beginthreadex(nullptr, 0, ReaderThread, handed, 0, nullptr);
    if (thread) {
        ::CloseHandle(reinterpret_cast<HANDLE>(thread));
    } else {
        delete handed;
        m_shared->failed = true;
        m_shared->error = ERROR_NOT_ENOUGH_MEMORY;
        ::SetEvent(m_shared->ready);
    }
}

CHttpFetch::~CHttpFetch()
{
    m_shared->abandoned = true;
    ::SetEvent(m_shared->proceed);
}

CHttpFetch::Result CHttpFetch::Wait(const std::atomic<LONG>& cancel)
{
    while (::WaitForSingleObject(m_shared->ready, kPollMs) == WAIT_TIMEOUT)
        if (cancel)
            return kCancelled;
    return m_shared->failed ? kFailed : kDone;
}

CHttpFetch::Result CHttpFetch::WaitResponse(const std::atomic<LONG>& cancel, DWORD& status, DWORD& length,
                                            bool& hasLength, DWORD& error)
{
    Result r = Wait(cancel);
    status = m_shared->status;
    length = m_shared->length;
    hasLength = m_shared->hasLength;
    error = m_shared->error;
    return r;
}

CHttpFetch::Result CHttpFetch::Read(std::vector<char>& data, const std::atomic<LONG>& cancel, DWORD& error)
{
    ::SetEvent(m_shared->proceed);
    Result r = Wait(cancel);
    error = m_shared->error;
    if (r == kDone)
        data.swap(m_shared->piece);
    return r;
}
