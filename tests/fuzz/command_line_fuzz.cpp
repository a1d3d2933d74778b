// Fuzzes the finder's command-line check: the tail, the one-blank rule, the word split and parse.
#include "finder/CommandLine.h"
#include "tests/fuzz/FuzzCheck.h"
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, line.find('\0'));  // the command line is one C string
    const char* tail = CommandLineTail(line.c_str());
    FUZZ_CHECK(tail >= line.c_str() && tail <= line.c_str() + line.size());
    bool oneBlank = HasExactlyOneBlank(tail);
    std::vector<std::string> words = SplitCommandLine(tail);
    CPellgroveCommandLineInfo info;
    bool ok = info.ParseWords(words);
    FUZZ_CHECK(memchr(info.m_szTarget, 0, sizeof info.m_szTarget) != nullptr);
    FUZZ_CHECK(info.m_nMode == CPellgroveCommandLineInfo::kModeShare ||
               info.m_nMode == CPellgroveCommandLineInfo::kModeSetting);
    // What the finder accepts: two plain words, the first a mode, the second the target.
    if (oneBlank && ok && words.size() == 2 && words[0][0] != '-' && words[0][0] != '/' &&
        words[1].find('"') == std::string::npos && words[1].find('\\') == std::string::npos)
        FUZZ_CHECK(words[1] == info.m_szTarget);
    return 0;
}
