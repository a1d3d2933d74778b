// The guide's picture control: GIF frames cut by the block walker, decoded by OLE, played on a thread.
#include "guide/PictureEx.h"
#include "afx/Gdi.h"
#include "guide/GifBlocks.h"
#include <process.h>
#include <memory>

namespace {
// OLE picture sizes are in HIMETRIC, 2540 to the inch.
const int kHimetricPerInch = 2540;

void ReleasePictures(IPicture*& still, std::vector<TFrame>& frames)
{
    if (still)
        still->Release();
    still = nullptr;
    for (TFrame& f : frames)
        if (f.m_pPicture)
            f.m_pPicture->Release();
    frames.clear();
}
}  // namespace

BEGIN_MESSAGE_MAP(CPictureEx, afx::CStatic)
    ON_WM_DESTROY()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPictureEx::CPictureEx()
{
    ::InitializeCriticalSection(&m_csCanvas);
    m_hExitEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_hStepSemaphore = ::CreateSemaphoreW(nullptr, 0, LONG_MAX, nullptr);
}

CPictureEx::~CPictureEx()
{
    UnLoad();
    if (m_hExitEvent)
        ::CloseHandle(m_hExitEvent);
    if (m_hStepSemaphore)
        ::CloseHandle(m_hStepSemaphore);
    ::DeleteCriticalSection(&m_csCanvas);
}

TDecodedPicture& TDecodedPicture::operator=(TDecodedPicture&& other) noexcept
{
    if (this != &other) {
        Release();
        m_bIsGif = other.m_bIsGif;
        m_size = other.m_size;
        m_rcStill = other.m_rcStill;
        m_pStill = other.m_pStill;
        other.m_pStill = nullptr;
        m_arrFrames.swap(other.m_arrFrames);
    }
    return *this;
}

void TDecodedPicture::Release()
{
    ReleasePictures(m_pStill, m_arrFrames);
    m_rcStill = RECT{};
}

BOOL CPictureEx::Load(const wchar_t* fileName)
{
    UnLoad();
    TDecodedPicture decoded;
    return Decode(fileName, decoded) ? Load(std::move(decoded)) : FALSE;
}

BOOL CPictureEx::Load(HGLOBAL block, DWORD size)
{
    UnLoad();
    TDecodedPicture decoded;
    return Decode(block, size, decoded) ? Load(std::move(decoded)) : FALSE;
}

bool CPictureEx::Decode(const wchar_t* fileName, TDecodedPicture& out)
{
    out.Release();
    HANDLE file = ::CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD size = ::GetFileSize(file, &high);
    HGLOBAL block = nullptr;
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0 && size <= kMaxFileSize)
        block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    // Freed on every way out, also when decoding throws (out of memory in a frame list).
    std::unique_ptr<void, decltype(&::GlobalFree)> owner(block, ::GlobalFree);
    void* bytes = block ? ::GlobalLock(block) : nullptr;
    if (!bytes) {
        ::CloseHandle(file);
        return false;
    }
    DWORD read = 0;
    bool ok = ::ReadFile(file, bytes, size, &read, nullptr) && read == size;
    ::GlobalUnlock(block);
    ::CloseHandle(file);
    return ok && Decode(block, size, out);
}

IPicture* CPictureEx::LoadOlePicture(HGLOBAL block, DWORD size, bool freeWithStream)
{
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, freeWithStream ? TRUE : FALSE, &stream)) || !stream) {
        if (freeWithStream)
            ::GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, LONG(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

IPicture* CPictureEx::LoadOlePicture(const std::vector<uint8_t>& bytes)
{
    HGLOBAL block = bytes.empty() ? nullptr : ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* dest = block ? ::GlobalLock(block) : nullptr;
    if (!dest) {
        if (block)
            ::GlobalFree(block);
        return nullptr;
    }
    memcpy(dest, bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    return LoadOlePicture(block, DWORD(bytes.size()), true);
}

bool CPictureEx::Decode(HGLOBAL block, DWORD size, TDecodedPicture& out)
{
    out.Release();
    const uint8_t* data = static_cast<const uint8_t*>(block ? ::GlobalLock(block) : nullptr);
    if (!data)
        return false;
    // Unlocked on every way out, also when a list runs out of memory.
    std::unique_ptr<void, decltype(&::GlobalUnlock)> locked(block, ::GlobalUnlock);
    out.m_bIsGif = gif::IsGif(data, size);
    gif::GifScan scan;
    if (out.m_bIsGif && !gif::ScanGif(data, size, scan))
        return false;
    if (!out.m_bIsGif || scan.fileFrames == 1) {
        // Any other picture, and a GIF of one image, is decoded whole; a GIF left with one
        // frame of several is not, as that would decode the frames it dropped.
        locked.reset();
        out.m_pStill = LoadOlePicture(block, size, false);
        if (!out.m_pStill)
            return false;
        if (out.m_bIsGif) {
            out.m_size = SIZE{scan.screenWidth, scan.screenHeight};
        } else {
            OLE_XSIZE_HIMETRIC hmWidth = 0;
            OLE_YSIZE_HIMETRIC hmHeight = 0;
            out.m_pStill->get_Width(&hmWidth);
            out.m_pStill->get_Height(&hmHeight);
            out.m_size = SIZE{hmWidth, hmHeight};
        }
        return true;
    }
    out.m_size = SIZE{scan.screenWidth, scan.screenHeight};
    if (scan.frames.size() == 1) {
        // The one frame left is shown as a still in its place, decoded on its own.
        const gif::GifFrameSpan& span = scan.frames.front();
        out.m_pStill = LoadOlePicture(gif::BuildStillGif(data, size, scan, span));
        out.m_rcStill = RECT{span.left, span.top, span.left + span.width, span.top + span.height};
        return out.m_pStill != nullptr;
    }
    // Room for every frame first: a decoded picture is never lost to a failed append.
    out.m_arrFrames.reserve(scan.frames.size());
    for (const gif::GifFrameSpan& span : scan.frames) {
        TFrame frame;
        // Frames OLE cannot decode are left out.
        frame.m_pPicture = LoadOlePicture(gif::BuildFrameGif(data, size, scan, span));
        if (!frame.m_pPicture)
            continue;
        frame.m_nWidth = span.width;
        frame.m_nHeight = span.height;
        frame.m_nLeft = span.left;
        frame.m_nTop = span.top;
        frame.m_nDelay = span.delay;
        frame.m_nDisposal = span.disposal;
        out.m_arrFrames.push_back(frame);
    }
    if (out.m_arrFrames.size() == 1) {
        // One frame decoded of several is no animation: it is shown as a still in its place.
        const TFrame& f = out.m_arrFrames.front();
        out.m_pStill = f.m_pPicture;
        out.m_rcStill = RECT{f.m_nLeft, f.m_nTop, f.m_nLeft + f.m_nWidth, f.m_nTop + f.m_nHeight};
        out.m_arrFrames.clear();
    }
    return out.m_pStill || !out.m_arrFrames.empty();
}

BOOL CPictureEx::Load(TDecodedPicture&& decoded)
{
    UnLoad();
    m_bIsGif = decoded.m_bIsGif;
    m_pPicture = decoded.m_pStill;
    m_rcPicture = decoded.m_rcStill;
    decoded.m_pStill = nullptr;
    m_arrFrames.swap(decoded.m_arrFrames);
    if (!m_pPicture && m_arrFrames.empty())
        return FALSE;
    if (m_bIsGif)
        return PrepareCanvas(decoded.m_size.cx, decoded.m_size.cy);
    afx::CClientDC dc(m_hWnd);
    int dpiX = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    int dpiY = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    return PrepareCanvas(::MulDiv(decoded.m_size.cx, dpiX, kHimetricPerInch),
                         ::MulDiv(decoded.m_size.cy, dpiY, kHimetricPerInch));
}

BOOL CPictureEx::PrepareCanvas(int width, int height)
{
    if (width <= 0 || height <= 0 || width > gif::kMaxScreenSide || height > gif::kMaxScreenSide)
        return FALSE;
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return FALSE;
    m_hMemDC = ::CreateCompatibleDC(dc);
    if (!m_hMemDC) {
        ::ReleaseDC(m_hWnd, dc);
        return FALSE;
    }
    m_hBitmap = ::CreateCompatibleBitmap(dc, width, height);
    ::ReleaseDC(m_hWnd, dc);
    if (!m_hBitmap) {
        ::DeleteDC(m_hMemDC);
        m_hMemDC = nullptr;
        return FALSE;
    }
    m_hOldBitmap = ::SelectObject(m_hMemDC, m_hBitmap);
    m_nCanvasWidth = width;
    m_nCanvasHeight = height;
    m_clrBackground = ::GetSysColor(COLOR_BTNFACE);
    RECT all = {0, 0, width, height};
    ::FillRect(m_hMemDC, &all, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
    m_bReady = true;
    return TRUE;
}

bool CPictureEx::RenderInto(IPicture* picture, int left, int top, int width, int height)
{
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    ::EnterCriticalSection(&m_csCanvas);
    // OLE pictures are bottom-up in HIMETRIC: start at the height and go up.
    HRESULT hr = picture->Render(m_hMemDC, left, top, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    ::LeaveCriticalSection(&m_csCanvas);
    if (FAILED(hr))
        return false;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return true;
}

BOOL CPictureEx::Draw()
{
    if (!m_bReady)
        return FALSE;
    if (IsAnimation()) {
        Stop();  // one thread per control
        m_nCurrFrame = 0;
        unsigned id = 0;
        m_hThread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, AnimationThreadProc, this, CREATE_SUSPENDED, &id));
        if (m_hThread)
            ::ResumeThread(m_hThread);
        return FALSE;
    }
    if (!m_pPicture)
        return FALSE;
    RECT r = m_rcPicture;
    if (::IsRectEmpty(&r))
        r = RECT{0, 0, m_nCanvasWidth, m_nCanvasHeight};
    return RenderInto(m_pPicture, r.left, r.top, r.right - r.left, r.bottom - r.top) ? TRUE : FALSE;
}

unsigned __stdcall CPictureEx::AnimationThreadProc(void* param)
{
    CPictureEx* self = static_cast<CPictureEx*>(param);
    ::InterlockedExchange(&self->m_bPlaying, 1);
    self->ThreadAnimation();
    ::InterlockedExchange(&self->m_bPlaying, 0);
    return 0;
}

void CPictureEx::FillCanvas(const RECT& rect)
{
    ::EnterCriticalSection(&m_csCanvas);
    HBRUSH brush = ::CreateSolidBrush(m_clrBackground);
    if (brush) {
        ::FillRect(m_hMemDC, &rect, brush);
        ::DeleteObject(brush);
    }
    ::LeaveCriticalSection(&m_csCanvas);
}

void CPictureEx::RestoreSavedArea(const RECT& rect)
{
    if (!m_hSaveDC)
        return;
    ::EnterCriticalSection(&m_csCanvas);
    ::BitBlt(m_hMemDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hSaveDC, 0, 0, SRCCOPY);
    ::LeaveCriticalSection(&m_csCanvas);
    FreeSavedArea();
}

void CPictureEx::FreeSavedArea()
{
    if (m_hSaveDC) {
        ::SelectObject(m_hSaveDC, m_hOldSaveBitmap);
        ::DeleteDC(m_hSaveDC);
    }
    if (m_hSaveBitmap)
        ::DeleteObject(m_hSaveBitmap);
    m_hSaveDC = nullptr;
    m_hSaveBitmap = nullptr;
    m_hOldSaveBitmap = nullptr;
}

RECT CPictureEx::VisibleRect(const TFrame& f) const
{
    // A frame may reach past the screen; only its part on the canvas is cleared or saved.
    RECT frame = {f.m_nLeft, f.m_nTop, f.m_nLeft + f.m_nWidth, f.m_nTop + f.m_nHeight};
    RECT canvas = {0, 0, m_nCanvasWidth, m_nCanvasHeight};
    RECT visible = {};
    ::IntersectRect(&visible, &frame, &canvas);
    return visible;
}

void CPictureEx::SaveArea(const RECT& rect)
{
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (m_hSaveDC || width <= 0 || height <= 0)
        return;
    ::EnterCriticalSection(&m_csCanvas);
    m_hSaveDC = ::CreateCompatibleDC(m_hMemDC);
    m_hSaveBitmap = m_hSaveDC ? ::CreateCompatibleBitmap(m_hMemDC, width, height) : nullptr;
    if (m_hSaveBitmap) {
        m_hOldSaveBitmap = ::SelectObject(m_hSaveDC, m_hSaveBitmap);
        ::BitBlt(m_hSaveDC, 0, 0, width, height, m_hMemDC, rect.left, rect.top, SRCCOPY);
    } else if (m_hSaveDC) {
        ::DeleteDC(m_hSaveDC);
        m_hSaveDC = nullptr;
    }
    ::LeaveCriticalSection(&m_csCanvas);
}

void CPictureEx::DisposeFrame(const TFrame& frame)
{
    if (frame.m_nDisposal == 2)
        FillCanvas(VisibleRect(frame));
    else if (frame.m_nDisposal == 3)
        RestoreSavedArea(VisibleRect(frame));
}

void CPictureEx::ThreadAnimation()
{
    if (m_nCurrFrame < m_arrFrames.size())
        DisposeFrame(m_arrFrames[m_nCurrFrame]);
    while (!m_bExitThread) {
        const TFrame& frame = m_arrFrames[m_nCurrFrame];
        if (frame.m_pPicture) {
            if (frame.m_nDisposal == 3)
                SaveArea(VisibleRect(frame));
            // GDI clips the part that lies past the canvas.
            RenderInto(frame.m_pPicture, frame.m_nLeft, frame.m_nTop, frame.m_nWidth, frame.m_nHeight);
            if (m_bExitThread)
                break;
            DWORD wait = FrameWaitMs(frame.m_nDelay);
            const HANDLE wakers[] = {m_hExitEvent, m_hStepSemaphore};
            ::WaitForMultipleObjects(m_hStepSemaphore ? 2 : 1, wakers, FALSE, wait);
            if (m_bExitThread)
                break;
            DisposeFrame(frame);
        }
        if (++m_nCurrFrame >= m_arrFrames.size()) {
            m_nCurrFrame = 0;
            FillCanvas(RECT{0, 0, m_nCanvasWidth, m_nCanvasHeight});
        }
    }
}

void CPictureEx::Stop()
{
    ::InterlockedExchange(&m_bPlaying, 0);
    ::InterlockedExchange(&m_bExitThread, 1);
    if (m_hExitEvent)
        ::SetEvent(m_hExitEvent);
    if (m_hThread) {
        // The frames and the canvas go after this; the thread must be gone first. It never
        // waits on this thread, and the event cuts its wait short.
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_hExitEvent)
        ::ResetEvent(m_hExitEvent);
    // Steps not taken belong to the run that ended.
    while (m_hStepSemaphore && ::WaitForSingleObject(m_hStepSemaphore, 0) == WAIT_OBJECT_0) {
    }
    ::InterlockedExchange(&m_bExitThread, 0);
    // A saved area belongs to the frame that was showing; the next run saves its own.
    FreeSavedArea();
}

void CPictureEx::UnLoad()
{
    Stop();
    ReleasePictures(m_pPicture, m_arrFrames);
    if (m_hMemDC) {
        ::SelectObject(m_hMemDC, m_hOldBitmap);
        ::DeleteDC(m_hMemDC);
    }
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hMemDC = nullptr;
    m_hBitmap = nullptr;
    m_hOldBitmap = nullptr;
    m_nCanvasWidth = m_nCanvasHeight = 0;
    m_rcPicture = RECT{};
    m_bIsGif = false;
    m_bReady = false;
    m_nCurrFrame = 0;
    m_clrBackground = 0xFFFFFF;
}

void CPictureEx::OnDestroy()
{
    Stop();
    Default();
}

void CPictureEx::OnPaint()
{
    afx::CPaintDC dc(m_hWnd);
    if (!m_bReady)
        return;
    ::EnterCriticalSection(&m_csCanvas);
    ::BitBlt(dc, 0, 0, m_nCanvasWidth, m_nCanvasHeight, m_hMemDC, 0, 0, SRCCOPY);
    ::LeaveCriticalSection(&m_csCanvas);
}

COLORREF CPictureEx::GetCanvasPixel(int x, int y)
{
    if (!m_bReady)
        return CLR_INVALID;
    ::EnterCriticalSection(&m_csCanvas);
    COLORREF c = ::GetPixel(m_hMemDC, x, y);
    ::LeaveCriticalSection(&m_csCanvas);
    return c;
}
