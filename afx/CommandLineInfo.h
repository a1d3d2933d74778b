// The framework's command-line record and the parse that feeds it one parameter at a time.
#pragma once
#include <string>

namespace afx {

class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    // One parameter, with a leading '-' or '/' removed for a flag; `last` for the final one.
    // The first plain parameter becomes the file name.
    virtual void ParseParam(const wchar_t* param, bool flag, bool last)
    {
        if (!flag && m_strFileName.empty())
            m_strFileName = param;
    }

    std::wstring m_strFileName;
};

// Splits the text after the program name the way the C runtime splits arguments and hands
// each one to info.ParseParam in order.
void ParseCommandLine(CCommandLineInfo& info, const wchar_t* commandLine);

}  // namespace afx
