// Borderless page whose face is one bitmap: sized to it, centred on its parent, dragged by any
// point, its transparent static texts drawn on the picture by the page itself.
#pragma once
#include "afx/Dialog.h"
#include "afx/Gdi.h"
#include "afx/MessageMap.h"
#include "frame/PellgroveFont.h"
#include <string>
#include <vector>

class QuickSetupContext;

class CPellgroveDialog : public afx::CDialog {
public:
    // Page result: switch between the confirmation and the settings page.
    static const int kResultSwitchPage = 11;

    // fontHeight: the label font's height (the guide's pages use CPellgroveFont::kGuideHeight).
    CPellgroveDialog(UINT templateId, HWND parent, int fontHeight = CPellgroveFont::kWizardHeight);
    ~CPellgroveDialog() override;

    // The quick-setup run the page belongs to; set by the page loop, never read here.
    QuickSetupContext* m_pContext = nullptr;

    // Replaces the background by bitmap resource `id` (0: none); un-skins until the next
    // ApplySkin. 0 when the bitmap cannot be loaded.
    int SetBackground(UINT id);
    // The same with a bitmap file (nullptr or empty: none), for pages whose pictures live
    // beside the program. FALSE when the file cannot be loaded.
    BOOL LoadBackground(const wchar_t* fileName);
    // Borderless, background-sized and centred on the parent; collects the transparent labels.
    void ApplySkin();
    // Repaints the labels' areas after their texts changed.
    void InvalidateLabels();

    // Where OnMove records the window rectangle, and whether it does (suspended from construction).
    RECT* m_pTrackedRect = nullptr;
    int m_bTrackingSuspended = 1;
    // Starts recording every later move of the page into `rect`.
    void RecordMovesInto(RECT* rect)
    {
        m_pTrackedRect = rect;
        m_bTrackingSuspended = 0;
    }

    bool IsSkinned() const { return m_bSkinned != 0; }
    SIZE GetBackgroundSize() const { return SIZE{m_bmBackground.bmWidth, m_bmBackground.bmHeight}; }

protected:
    bool OnInitDialog() override;
    void OnPaint();
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT ctlColor);
    LRESULT OnNcHitTest(POINT screenPoint);
    void OnMove(int x, int y);
    // An empty command handler for controls whose clicks must do nothing.
    void OnNothing() {}
    // The setting buttons of the settings and confirmation pages: leave the page for the other one.
    void OnClickedSetting() { EndDialog(kResultSwitchPage); }

    static BOOL CALLBACK CollectChildProc(HWND window, LPARAM children);

    int m_bSkinned = 0;
    std::vector<HWND> m_children;
    std::vector<HWND> m_labels;
    CPellgroveFont m_font;
    afx::CBitmap m_background;
    BITMAP m_bmBackground{};
    afx::CBrush m_brush;
    COLORREF m_crBackground = RGB(255, 255, 255);
    COLORREF m_crText = RGB(0, 0, 0);

    DECLARE_MESSAGE_MAP()

private:
    // A label's rectangle in this page's client coordinates.
    RECT LabelRect(HWND label) const;
    int TakeBackground(HBITMAP bitmap);
};
