// The network setter's application object: single instance, language, Winsock, sequence, main dialog.
#pragma once
#include "afx/WinApp.h"
#include "netsetter/HostAddressTable.h"
#include <atomic>
#include <cstdint>
#include <string>

class CQuentariApp : public afx::CWinApp {
public:
    bool InitInstance() override;
    int ExitInstance() override;

    // The request sequence number: every request carries ++m_nSndSeq; the receiver compares
    // replies with its current value.
    std::atomic<uint32_t> m_nSndSeq{0};
    HostAddressTable m_hostAddresses;

private:
    // Asks the copy already running to come to the front; what a second start does.
    void HandOver();
    std::wstring m_strTitle;
};

// The application object of the process (the program's, or a test's own).
CQuentariApp& TheApp();

// The single-instance mutex, made during static initialisation before the application starts.
bool CreateInstanceMutex();
void CloseInstanceMutex();
// True when another copy had created the mutex already.
bool InstanceMutexExisted();

// The kit's UI-language rule; 0 when the system version cannot be read.
LANGID ChooseUiLanguage();
// The first sequence number from two results of rand(): (high << 16) + low, never 0.
uint32_t SequenceFromRandom(int high, int low);
