// The finder's two-word command line: "share" or "setting", then the device name.
#pragma once
#include <string>
#include <vector>

// True when the text holds exactly one blank, neither leading nor doubled.
bool HasExactlyOneBlank(const char* text);

class CPellgroveCommandLineInfo {
public:
    enum { kModeShare = 0, kModeSetting = 1 };
    int m_nMode = kModeShare;
    char m_szTarget[256] = {};

    // One word of the parsed command line; false when the word is not acceptable.
    bool ParseParam(const char* param, bool flag, bool last);
    // Every word in order; false at the first unacceptable word or when no target was set.
    bool ParseWords(const std::vector<std::string>& words);
};

// The words of a command-line tail, split the way the C runtime splits arguments.
std::vector<std::string> SplitCommandLine(const char* tail);
// The command line without the program's own name and the one blank after it.
const char* CommandLineTail(const char* full);
