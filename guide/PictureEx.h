// The guide's picture control: a still picture, or an animated GIF played on its own thread.
#pragma once
#include "afx/Static.h"
#include "afx/MessageMap.h"
#include <ocidl.h>
#include <olectl.h>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One animation frame, decoded by OLE picture loading.
struct TFrame {
    IPicture* m_pPicture = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nLeft = 0;
    int m_nTop = 0;
    unsigned int m_nDelay = 0xFFFFFFFFu;  // 1/100 s; all ones without a graphic control extension
    int m_nDisposal = 0;
};

// A picture read and decoded, before it has a canvas. Decoding touches no window, so it may
// run on any thread; the picture control takes it on its own window's thread.
struct TDecodedPicture {
    TDecodedPicture() = default;
    TDecodedPicture(TDecodedPicture&& other) noexcept { *this = std::move(other); }
    TDecodedPicture& operator=(TDecodedPicture&& other) noexcept;
    ~TDecodedPicture() { Release(); }
    void Release();

    bool m_bIsGif = false;
    SIZE m_size = {};  // a GIF's logical screen in pixels; else the still picture in HIMETRIC
    IPicture* m_pStill = nullptr;
    RECT m_rcStill = {};  // where the still stands on the screen; empty: it fills the canvas
    std::vector<TFrame> m_arrFrames;
};

class CPictureEx : public afx::CStatic {
public:
    CPictureEx();
    ~CPictureEx() override;

    // Replaces any loaded picture. False for a missing or unreadable file, data that no
    // decoder takes, or a canvas that cannot be made.
    BOOL Load(const wchar_t* fileName);
    BOOL Load(HGLOBAL block, DWORD size);
    // The same with a picture decoded beforehand; the control takes its pictures over.
    BOOL Load(TDecodedPicture&& decoded);
    // The reading and decoding half of Load; false for what Load refuses before the canvas.
    static bool Decode(const wchar_t* fileName, TDecodedPicture& out);
    static bool Decode(HGLOBAL block, DWORD size, TDecodedPicture& out);
    // How long a frame stays, from its delay in 1/100 s: under 5/100 s it is read as 100 ms,
    // as browsers do.
    static DWORD FrameWaitMs(unsigned int delay) { return delay >= 5 ? DWORD(delay * 10u) : 100; }
    // Starts the animation, or renders the still picture once (then TRUE).
    BOOL Draw();
    // Ends a running animation and waits for its thread; harmless when none runs.
    void Stop();
    void UnLoad();
    BOOL IsAnimation() const { return m_bIsGif && m_arrFrames.size() > 1; }
    bool IsPlaying() const { return m_bPlaying != 0; }
    // Ends the waits of the next `frames` frames at once, as if their delays had passed, so
    // that tests step through an animation whatever the machine's speed.
    void StepFrames(LONG frames) { ::ReleaseSemaphore(m_hStepSemaphore, frames, nullptr); }
    // The canvas size in pixels (0 until a picture loaded).
    SIZE GetCanvasSize() const { return SIZE{m_nCanvasWidth, m_nCanvasHeight}; }
    size_t GetFrameCount() const { return m_arrFrames.size(); }
    // A pixel of the canvas, as the next paint will show it; CLR_INVALID without a canvas.
    COLORREF GetCanvasPixel(int x, int y);

    // Files larger than this are refused before they are read.
    static const DWORD kMaxFileSize = 32u * 1024 * 1024;

protected:
    void OnDestroy();
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    BOOL PrepareCanvas(int width, int height);
    void ThreadAnimation();
    static unsigned __stdcall AnimationThreadProc(void* param);
    // Renders a picture into a rectangle of the canvas; false when it failed.
    bool RenderInto(IPicture* picture, int left, int top, int width, int height);
    void FillCanvas(const RECT& rect);
    // The part of a frame's rectangle that lies on the canvas.
    RECT VisibleRect(const TFrame& frame) const;
    // Keeps a copy of a canvas area for disposal method 3, unless one is kept already.
    void SaveArea(const RECT& rect);
    void RestoreSavedArea(const RECT& rect);
    void FreeSavedArea();
    void DisposeFrame(const TFrame& frame);
    static IPicture* LoadOlePicture(HGLOBAL block, DWORD size, bool freeWithStream);
    // Decodes a GIF built in memory; none for empty bytes.
    static IPicture* LoadOlePicture(const std::vector<uint8_t>& bytes);

    bool m_bIsGif = false;

    int m_nCanvasWidth = 0;
    int m_nCanvasHeight = 0;
    HDC m_hMemDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    bool m_bReady = false;
    COLORREF m_clrBackground = 0xFFFFFF;

    HDC m_hSaveDC = nullptr;
    HBITMAP m_hSaveBitmap = nullptr;
    HGDIOBJ m_hOldSaveBitmap = nullptr;

    IPicture* m_pPicture = nullptr;
    RECT m_rcPicture = {};  // empty: the whole canvas
    std::vector<TFrame> m_arrFrames;
    size_t m_nCurrFrame = 0;

    HANDLE m_hThread = nullptr;
    volatile LONG m_bPlaying = 0;
    volatile LONG m_bExitThread = 0;
    HANDLE m_hExitEvent = nullptr;
    HANDLE m_hStepSemaphore = nullptr;
    // The animation thread draws into the canvas that painting copies from.
    CRITICAL_SECTION m_csCanvas;
};
