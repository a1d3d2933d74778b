// Owners of the handles that are not GDI objects: icons, image lists, modules and kernel objects.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace afx {

// An owned handle of type T, freed with its owner by Free::Close; never copied.
template <typename T, typename Free>
class COwnedHandle {
public:
    COwnedHandle() = default;
    explicit COwnedHandle(T h) : m_handle(h) {}
    ~COwnedHandle() { Reset(); }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    operator T() const { return m_handle; }
    bool IsValid() const { return Free::Valid(m_handle); }
    // Frees the handle held and takes h.
    void Reset(T h = T())
    {
        if (Free::Valid(m_handle))
            Free::Close(m_handle);
        m_handle = h;
    }
    T Detach() { T h = m_handle; m_handle = T(); return h; }

private:
    T m_handle = T();
};

namespace detail {
struct IconFree {
    static bool Valid(HICON h) { return h != nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct ImageListFree {
    static bool Valid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
struct ModuleFree {
    static bool Valid(HMODULE h) { return h != nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
// Kernel calls answer failure with either null or INVALID_HANDLE_VALUE.
struct KernelFree {
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
}  // namespace detail

using CIcon = COwnedHandle<HICON, detail::IconFree>;
using CImageList = COwnedHandle<HIMAGELIST, detail::ImageListFree>;
using CLibrary = COwnedHandle<HMODULE, detail::ModuleFree>;
using CHandle = COwnedHandle<HANDLE, detail::KernelFree>;

}  // namespace afx
