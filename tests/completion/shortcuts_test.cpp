// Desktop shortcuts read back through the shell link interfaces, the manual copy and the
// guide's start mode, on a scratch desktop.
#include "tests/completion/OwnShare.h"
#include "tests/completion/ShellFolderStandIn.h"
#include "tests/support/ProgramRun.h"
#include "frame/Directory.h"
#include "wizard/DesktopShortcuts.h"
#include "wizard/ProgramPaths.h"
#include <gtest/gtest.h>
#include <objbase.h>
#include <shobjidl.h>

namespace {

struct Missing {};
void ThrowMissing() { throw Missing(); }

// The desktop of the test prefix (whose home is a scratch folder of the run), with names of
// this process only, removed afterwards; `home` stands in for the medium and the product folder.
struct ScratchDesktop {
    TempDir home;
    std::wstring desktop = DesktopFolder();
    std::wstring device = L"STORE" + std::to_wstring(::GetCurrentProcessId());
    std::vector<std::wstring> made;
    ~ScratchDesktop()
    {
        for (const auto& name : made) ::DeleteFileW((desktop + L"\\" + name).c_str());
    }
};

struct Link {
    bool loaded = false;
    std::wstring target, arguments, icon, workingFolder;
    int iconIndex = -1;
};

Link ReadLink(const std::wstring& path)
{
    Link out;
    ::CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t text[4][MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        link->GetPath(text[0], MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetArguments(text[1], MAX_PATH);
        link->GetIconLocation(text[2], MAX_PATH, &out.iconIndex);
        link->GetWorkingDirectory(text[3], MAX_PATH);
        out = {true, text[0], text[1], text[2], text[3], out.iconIndex};
    }
    for (IUnknown* object : {static_cast<IUnknown*>(file), static_cast<IUnknown*>(link)})
        if (object)
            object->Release();
    ::CoUninitialize();
    return out;
}

}  // namespace

TEST(Shortcuts, LinksStartTheInstalledFinderWithModeAndDeviceName)
{
    ScratchDesktop scratch;
    ASSERT_FALSE(scratch.desktop.empty());
    const std::wstring& dev = scratch.device;
    std::wstring folder = scratch.home.Path() + L"\\";
    std::wstring finder = folder + L"Lorrick.exe";
    ASSERT_TRUE(WriteBytes(finder, "MZ"));
    ShortcutOwner owner{dev, folder};
    const std::wstring share = dev + L" access.lnk", setting = dev + L" WEB setting screen.lnk";
    scratch.made = {share, setting, L"Vantry 2.lnk"};
    struct Case {
        int share, setting, remote;
        std::vector<std::pair<std::wstring, std::wstring>> links;  // name, arguments
    } cases[] = {
        {1, 1, 0, {{share, L"share " + dev}, {setting, L"setting " + dev}}},
        {0, 1, 0, {{setting, L"setting " + dev}}},
        {0, 0, 1, {{L"Vantry 2.lnk", L"setting Vantry_2"}}},
    };
    for (const Case& c : cases) {
        for (const auto& name : scratch.made) ::DeleteFileW((scratch.desktop + L"\\" + name).c_str());
        const wchar_t* settingTarget = c.remote ? kRemoteAccessAddress : finder.c_str();
        const wchar_t* settingIcon = c.remote ? L"Support\\Vantry2.ico" : L"Support\\Finder\\WebSetup.ico";
        EXPECT_EQ(CreateDesktopShortcuts(owner, c.share, c.setting, c.remote, L"access", L"WEB setting screen",
                                         L"Support/Finder/Dorvane.ico", settingIcon, finder.c_str(), settingTarget), 1);
        EXPECT_EQ(ReadBytes(scratch.desktop + L"\\" + share).empty(), c.share == 0);
        for (const auto& [name, arguments] : c.links) {
            Link link = ReadLink(scratch.desktop + L"\\" + name);
            ASSERT_TRUE(link.loaded) << name;
            EXPECT_EQ(link.arguments, arguments);
            if (!c.remote) {
                EXPECT_EQ(link.target, finder);
            }
            std::wstring icon = name.find(L"access") != std::wstring::npos ? L"Dorvane.ico"
                                : c.remote ? L"Vantry2.ico" : L"WebSetup.ico";
            EXPECT_EQ(link.icon, folder + icon);
            EXPECT_EQ(link.iconIndex, 0);
            EXPECT_EQ(link.workingFolder, L"");
        }
    }
    // A link that cannot be saved (a folder has its name) stops the ones after it; a device name
    // that is not one plain file name makes no link, wherever its links would land, nor one the
    // finder cannot take back from the arguments (two words, a character outside its code page).
    const std::wstring blocked = L"B" + dev;
    ASSERT_EQ(MakeDirectory((scratch.desktop + L"\\" + blocked + L" access.lnk").c_str()), 0);
    for (const std::wstring& name : {blocked, L"..\\" + dev, L"..\\..\\Public\\Desktop\\" + dev, L"My " + dev,
                                     dev + L"\u0E01"}) {
        for (const wchar_t* suffix : {L" access.lnk", L" WEB setting screen.lnk"})
            scratch.made.push_back(name + suffix);
        EXPECT_EQ(CreateDesktopShortcuts({name, folder}, 1, 1, 0, L"access", L"WEB setting screen", L"a.ico", L"b.ico",
                                         finder.c_str(), finder.c_str()), 0) << name;
        for (size_t i = scratch.made.size() - 2; i < scratch.made.size(); ++i)
            EXPECT_TRUE(ReadBytes(scratch.desktop + L"\\" + scratch.made[i]).empty()) << scratch.made[i];
    }
    RemoveTree(scratch.desktop + L"\\" + blocked + L" access.lnk");
}

TEST(Shortcuts, ManualGoesToTheDesktopUnderItsOwnName)
{
    ScratchDesktop scratch;
    std::wstring medium = scratch.home.Path() + L"\\";
    const std::wstring guide = scratch.device + L"guide.pdf", lang = scratch.device + L"lang.pdf";
    scratch.made = {guide, lang};
    ASSERT_EQ(MakeDirectory((medium + L"manual").c_str()), 0);
    ASSERT_TRUE(WriteBytes(medium + L"manual\\" + guide, "%PDF manual"));
    ASSERT_TRUE(WriteBytes(medium + lang, "%PDF language"));
    for (const wchar_t* folder : {L"manual\\", L"manual/"}) {
        ::DeleteFileW((scratch.desktop + L"\\" + guide).c_str());
        CopyManualToDesktop({{L"CopyManual", folder + guide}}, {}, medium, &ThrowMissing);
        EXPECT_EQ(ReadBytes(scratch.desktop + L"\\" + guide), "%PDF manual") << folder;
    }
    CopyManualToDesktop({{L"CopyManual", L"manual\\" + guide}}, {{L"CopyManual", lang}}, medium, &ThrowMissing);
    EXPECT_EQ(ReadBytes(scratch.desktop + L"\\" + lang), "%PDF language");
    EXPECT_NO_THROW(CopyManualToDesktop({{L"CopyManual", L""}}, {}, medium, &ThrowMissing));
    EXPECT_THROW(CopyManualToDesktop({{L"CopyManual", L"gone.pdf"}}, {}, medium, &ThrowMissing), Missing);
}


// A shell that gives no desktop or common application-data folder, or an empty one: no link,
// no manual copy and no product folder, so nothing lands in the root of the current drive.
TEST(Shortcuts, NoShellFolderMakesNoLinkAndNoManualCopy)
{
    OwnShare share;
    TempDir medium;
    ASSERT_TRUE(WriteBytes(medium / L"Manual.pdf", "%PDF"));
    ASSERT_TRUE(share.MakeCurrent());
    for (ShellFolderFn standIn : {&NoShellFolder, &EmptyShellFolder}) {
        ShellFolderStandIn shell(standIn);
        ASSERT_TRUE(shell.Active());
        ProgramPaths paths;
        EXPECT_EQ(paths.Init(), 0);
        EXPECT_EQ(paths.commonProductFolder + SupportFolderPath() + DesktopFolder(), L"");
        EXPECT_EQ(CreateDesktopShortcuts({L"STORE1", medium.Path() + L"\\"}, 1, 1, 1, L"access", L"WEB setting screen",
                                         L"a.ico", L"b.ico", L"Lorrick.exe", L"Lorrick.exe"), 0);
        CopyManualToDesktop({{L"CopyManual", L"Manual.pdf"}}, {}, medium.Path() + L"\\", &ThrowMissing);
    }
    EXPECT_TRUE(share.Names().empty());
}
