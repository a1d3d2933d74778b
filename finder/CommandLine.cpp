// The finder's command-line check and parse: exactly "share" or "setting" and one device name.
#include "finder/CommandLine.h"
#include <cstring>

bool HasExactlyOneBlank(const char* text)
{
    if (!text)
        return false;
    int blanks = 0;
    for (int i = 0; i < 3; ++i) {
        const char* blank = std::strchr(text, ' ');
        if (!blank)
            break;
        if (blank == text)  // leading or doubled blank: not two plain words
            return false;
        ++blanks;
        text = blank + 1;
    }
    return blanks == 1;
}

// A mode word is compared in a buffer of 20 bytes; longer words cannot be a mode.
static const size_t kModeWordMax = 19;

bool CPellgroveCommandLineInfo::ParseParam(const char* param, bool flag, bool last)
{
    if (flag)
        return true;
    size_t len = std::strlen(param);
    if (last) {
        if (len == 0 || len >= sizeof(m_szTarget))
            return false;
        std::memcpy(m_szTarget, param, len + 1);
        return true;
    }
    if (len > kModeWordMax)
        return false;
    if (std::strcmp(param, "share") == 0)
        m_nMode = kModeShare;
    else if (std::strcmp(param, "setting") == 0)
        m_nMode = kModeSetting;
    else
        return false;
    return true;
}

bool CPellgroveCommandLineInfo::ParseWords(const std::vector<std::string>& words)
{
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        bool flag = !w.empty() && (w[0] == '-' || w[0] == '/');
        if (!ParseParam(flag ? w.c_str() + 1 : w.c_str(), flag, i + 1 == words.size()))
            return false;
    }
    return m_szTarget[0] != '\0';
}

const char* CommandLineTail(const char* full)
{
    if (!full)
        return "";
    const char* p = full;
    if (*p == '"') {
        const char* close = std::strchr(p + 1, '"');
        p = close ? close + 1 : p + std::strlen(p);
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    if (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

std::vector<std::string> SplitCommandLine(const char* tail)
{
    std::vector<std::string> words;
    const char* p = tail ? tail : "";
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        std::string w;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '\\') {
                size_t n = 0;
                while (p[n] == '\\')
                    ++n;
                if (p[n] == '"') {
                    w.append(n / 2, '\\');
                    p += n;
                    if (n % 2) {
                        w += '"';
                        continue;
                    }
                    --p;  // the quote toggles below on the next round
                    continue;
                }
                w.append(n, '\\');
                p += n - 1;
            } else if (*p == '"') {
                quoted = !quoted;
            } else {
                w += *p;
            }
        }
        words.push_back(w);
    }
    return words;
}
