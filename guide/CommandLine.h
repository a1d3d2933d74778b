// The guide's command line: the model, one blank, the start mode 0 or 1.
#pragma once
#include "afx/CommandLineInfo.h"
#include <string>

// The command line without the program's own name and the one blank after it.
std::wstring CommandLineTail(const wchar_t* full);
// Counts blanks as the start-up check does: at most two rounds, each cutting the text after
// the first blank; a blank at the front stops the count. The line passes with exactly one.
int CountBlankRounds(const std::wstring& text);

class CPellgroveCommandLineInfo : public afx::CCommandLineInfo {
public:
    // After the framework's handling, the last plain parameter's first digit is the start mode.
    // A start mode above 1 shows the start-up failure and ends the process with code 0.
    void ParseParam(const wchar_t* param, bool flag, bool last) override;

    int m_nStartMode = 0;
};
