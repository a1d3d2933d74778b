// The guide's one window: picture pages read from the picture folder, with Next, Back and Finish.
#pragma once
#include "frame/PellgroveButton.h"
#include "frame/PellgroveDialog.h"
#include "frame/PellgroveWait.h"
#include "guide/PictureDecoder.h"
#include "guide/PictureEx.h"
#include "resources/marrowick/resource.h"
#include <memory>
#include <string>

class CPellgroveDialog_Main : public CPellgroveDialog {
public:
    explicit CPellgroveDialog_Main(HWND parent);
    ~CPellgroveDialog_Main() override;

    // 1 on a system the guide does not run on (Windows 9x, NT 4 and older), else 0.
    static int GetOSClass();

    // Index of the page the next page show displays, and of the last page (-1: none).
    int GetNextPage() const { return m_nNextPage; }
    int GetLastPage() const { return m_nLastPage; }

protected:
    void DoDataExchange(afx::CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnClickedNext();
    void OnClickedBack();
    void OnClickedFinish();
    DECLARE_MESSAGE_MAP()

private:
    void HideAllPages();
    void SwitchAnimationRow() { SwitchRow(m_picAnimation); }
    void SwitchGuideRow() { SwitchRow(m_picGuide); }
    void SwitchStepRow() { SwitchRow(m_picStep); }
    void SwitchRow(CPictureEx (&row)[GUIDE_PAGE_SLOTS]);
    BOOL LoadAnimations();
    BOOL LoadGuidePictures();
    BOOL LoadStepPictures();
    // Loads file n of row `kind` (0 animated, 1 guide, 2 step pictures) into picture n-1 for
    // every slot; FALSE with m_strFailedFile set when a picture of a shown page failed.
    BOOL LoadRow(CPictureEx (&row)[GUIDE_PAGE_SLOTS], int kind, BOOL* loaded, bool progress);
    std::wstring PicturePath(const wchar_t* pattern, int n) const;
    // Shows the page m_nNextPage and moves the next-page values on by one.
    void ShowNextPage();
    int FirstShownPage() const { return m_nStartMode == 1 ? 0 : 1; }
    // The failure message with its caption; the dialog then ends without showing.
    void Fail(UINT textId, const std::wstring& insert = L"");

    CPellgroveButton m_btnFinish;
    CPellgroveButton m_btnNext;
    CPellgroveButton m_btnBack;
    CPictureEx m_picAnimation[GUIDE_PAGE_SLOTS];
    CPictureEx m_picGuide[GUIDE_PAGE_SLOTS];
    CPictureEx m_picStep[GUIDE_PAGE_SLOTS];
    wchar_t m_szFolder[MAX_PATH] = {};
    int m_nLastPage = -1;
    int m_nStartMode = 0;
    int m_nNextPage = 0;
    int m_nNextGuideId = IDC_GUIDE_FIRST;
    int m_nNextAnimationId = IDC_ANIMATION_FIRST;
    int m_nNextStepId = IDC_STEP_FIRST;
    BOOL m_bStepLoaded[GUIDE_PAGE_SLOTS] = {};
    std::wstring m_strFailedFile;
    std::unique_ptr<PellgroveWait> m_pWait;
    // Decodes the 60 page pictures while start-up goes on; gone once they are loaded.
    std::unique_ptr<CPictureDecoder> m_pDecoder;
};
