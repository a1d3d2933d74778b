#include "wizard/DeviceSettings.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::wstring Get(const std::wstring& path, const wchar_t* key, const wchar_t* section = L"pellgrove")
{
    wchar_t buf[512];
    GetPrivateProfileStringW(section, key, L"<none>", buf, 512, path.c_str());
    return buf;
}

CDeviceSettings Record(int kind, const std::wstring& value)
{
    CDeviceSettings s;
    s.kind = kind;
    for (std::wstring* f : {&s.timestamp, &s.name, &s.comment, &s.workgroup, &s.dhcp, &s.ip,
                            &s.netmask, &s.gateway, &s.nameserver, &s.ntp, &s.ntpserver,
                            &s.ntpboot, &s.ntpdaily, &s.ntpdailytime, &s.led, &s.autoupdate,
                            &s.resrecdel, &s.share, &s.spindown, &s.systeminit, &s.category,
                            &s.recpreserve})
        *f = value;
    return s;
}

const wchar_t* const kNormalOnly[] = {L"comment", L"workgroup", L"ntpboot", L"ntpdaily",
                                      L"ntpdailytime"};
const wchar_t* const kUsbOnly[] = {L"led", L"autoupdate", L"resrecdel", L"share",
                                   L"spindown", L"systeminit", L"category", L"recpreserve"};
const wchar_t* const kShared[] = {L"timestamp", L"name", L"dhcp", L"ip", L"netmask",
                                  L"gateway", L"nameserver", L"ntp", L"ntpserver"};

std::wstring AllKeys(const wchar_t* value)
{
    std::wstring text = L"[pellgrove]\r\n";
    for (const wchar_t* k : kShared)
        text += std::wstring(k) + L"=" + value + L"\r\n";
    for (const wchar_t* k : kNormalOnly)
        text += std::wstring(k) + L"=" + value + L"\r\n";
    for (const wchar_t* k : kUsbOnly)
        text += std::wstring(k) + L"=" + value + L"\r\n";
    return text;
}

}  // namespace

TEST(SettingsFile, NewFileIsHiddenMarkedAndHoldsTheKeySetInOrder)
{
    TempDir dir;
    std::wstring path = dir / L"Pellgrove.ini";
    CDeviceSettings s;
    s.kind = 0;
    s.timestamp = L"20260102030405";
    s.name = L"DV1";
    s.ntpserver = L"ntp.example";
    ASSERT_EQ(s.Write(path.c_str()), 1);
    DWORD attr = GetFileAttributesW(path.c_str());
    ASSERT_NE(attr, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attr & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadBytes(path), Utf16Bytes(L"[pellgrove]\r\n"
                                          L"timestamp=20260102030405\r\n"
                                          L"name=DV1\r\n"
                                          L"comment=Dorvane series\r\n"
                                          L"workgroup=WORKGROUP\r\n"
                                          L"dhcp=on\r\n"
                                          L"ntp=on\r\n"
                                          L"ntpserver=ntp.example\r\n"
                                          L"ntpboot=on\r\n"
                                          L"ntpdaily=off\r\n",
                                          true));
}

TEST(SettingsFile, CreateSettingsFileMakesOnlyANewMarkedFile)
{
    TempDir dir;
    std::wstring path = dir / L"new.ini";
    EXPECT_EQ(CreateSettingsFile(path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), "\xFF\xFE");
    EXPECT_EQ(IsUnicodeFile(path.c_str()), 1);
    ASSERT_TRUE(WriteBytes(dir / L"old.ini", "[x]\r\n"));
    EXPECT_EQ(CreateSettingsFile((dir / L"old.ini").c_str()), 0);
    EXPECT_EQ(ReadBytes(dir / L"old.ini"), "[x]\r\n");
    EXPECT_EQ(CreateSettingsFile(nullptr), 0);
}

TEST(SettingsFile, IsUnicodeFileNeedsBothMarkBytes)
{
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir / L"one", "\xFF"));
    ASSERT_TRUE(WriteBytes(dir / L"be", "\xFE\xFF"));
    ASSERT_TRUE(WriteBytes(dir / L"empty", ""));
    EXPECT_EQ(IsUnicodeFile((dir / L"one").c_str()), 0);
    EXPECT_EQ(IsUnicodeFile((dir / L"be").c_str()), 0);
    EXPECT_EQ(IsUnicodeFile((dir / L"empty").c_str()), 0);
    EXPECT_EQ(IsUnicodeFile((dir / L"missing").c_str()), 0);
    EXPECT_EQ(IsUnicodeFile(dir.Path().c_str()), 0);
}

TEST(SettingsFile, EmptyValuesRemoveKeys)
{
    TempDir dir;
    std::wstring path = dir / L"s.ini";
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(AllKeys(L"old"), true)));
    CDeviceSettings s = Record(0, L"");
    s.timestamp = L"20260102030405";
    ASSERT_EQ(s.Write(path.c_str()), 1);
    EXPECT_EQ(Get(path, L"name"), L"<none>");
    EXPECT_EQ(Get(path, L"ntpdailytime"), L"<none>");
    EXPECT_EQ(Get(path, L"timestamp"), L"20260102030405");
    EXPECT_EQ(ReadBytes(path).find(Utf16Bytes(L"name=", false)), std::string::npos);
}

TEST(SettingsFile, EachKeySetTouchesOnlyItsOwnKeys)
{
    TempDir dir;
    std::wstring path = dir / L"s.ini";
    std::wstring text = L"[before]\r\nx=1\r\n" + AllKeys(L"old") + L"foreign=keep\r\n[after]\r\ny=2\r\n";
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(text, true)));

    ASSERT_EQ(Record(0, L"new").Write(path.c_str()), 1);
    for (const wchar_t* k : kShared)
        EXPECT_EQ(Get(path, k), L"new") << k;
    for (const wchar_t* k : kNormalOnly)
        EXPECT_EQ(Get(path, k), L"new") << k;
    for (const wchar_t* k : kUsbOnly)
        EXPECT_EQ(Get(path, k), L"old") << k;

    ASSERT_EQ(Record(1, L"").Write(path.c_str()), 1);
    for (const wchar_t* k : kShared)
        EXPECT_EQ(Get(path, k), L"<none>") << k;
    for (const wchar_t* k : kNormalOnly)
        EXPECT_EQ(Get(path, k), L"new") << k;
    for (const wchar_t* k : kUsbOnly)
        EXPECT_EQ(Get(path, k), L"<none>") << k;

    EXPECT_EQ(Get(path, L"foreign"), L"keep");
    EXPECT_EQ(Get(path, L"x", L"before"), L"1");
    EXPECT_EQ(Get(path, L"y", L"after"), L"2");
    EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xFF\xFE");
}

TEST(SettingsFile, ExistingFileKeepsItsAttributesAndMissingMark)
{
    TempDir dir;
    std::wstring path = dir / L"plain.ini";
    ASSERT_TRUE(WriteBytes(path, "[other]\r\nz=3\r\n"));
    ASSERT_EQ(Record(0, L"v").Write(path.c_str()), 1);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, 9), "[other]\r\n");  // ANSI, no mark added
    EXPECT_EQ(Get(path, L"z", L"other"), L"3");
    EXPECT_EQ(Get(path, L"name"), L"v");

    CDeviceSettings r;
    r.comment = L"untouched";
    EXPECT_EQ(r.Read(path.c_str()), 0);  // no mark: not read at all
    EXPECT_EQ(r.comment, L"untouched");
    EXPECT_EQ(r.name, L"");
}

TEST(SettingsFile, ReadTakesEveryKeyWhateverTheKind)
{
    TempDir dir;
    std::wstring path = dir / L"s.ini";
    CDeviceSettings w;
    w.kind = 0;
    w.name = L"DV\x65E5";
    w.dhcp = L"off";
    w.ip = L"192.168.0.10";
    w.netmask = L"255.255.255.0";
    ASSERT_EQ(w.Write(path.c_str()), 1);
    w.kind = 1;
    w.led = L"0";
    ASSERT_EQ(w.Write(path.c_str()), 1);

    CDeviceSettings r;
    r.kind = 0;
    EXPECT_EQ(r.Read(path.c_str()), 1);
    EXPECT_EQ(r.name, w.name);
    EXPECT_EQ(r.ip, L"192.168.0.10");
    EXPECT_EQ(r.led, L"0");
    EXPECT_EQ(r.ntpdailytime, L"");  // missing key: empty
    EXPECT_EQ(r.kind, 0);
}

TEST(SettingsFile, ReadKeepsInvalidValuesAndCutsLongOnes)
{
    TempDir dir;
    std::wstring path = dir / L"s.ini";
    std::wstring longName(300, L'n');
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(L"[pellgrove]\r\nname=" + longName +
                                                L"\r\nled=1\r\n",
                                            true)));
    CDeviceSettings r;
    EXPECT_EQ(r.Read(path.c_str()), 0);  // USB keys only: no workgroup
    EXPECT_EQ(r.name, std::wstring(255, L'n'));
    EXPECT_EQ(r.led, L"1");
    EXPECT_EQ(r.workgroup, L"");
    EXPECT_EQ(r.comment, L"");
}

TEST(SettingsFile, UnwritableFileIsLeftAsItWasAndWriteFails)
{
    TempDir dir;
    std::wstring path = dir / L"ro.ini";
    std::string before = Utf16Bytes(AllKeys(L"old"), true);
    ASSERT_TRUE(WriteBytes(path, before));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Record(0, L"new").Write(path.c_str()), 0);
    EXPECT_EQ(ReadBytes(path), before);
    // Nothing unsaved lingers for later reads in this process.
    CDeviceSettings r;
    r.Read(path.c_str());
    EXPECT_EQ(r.name, L"old");
    EXPECT_EQ(Get(path, L"name"), L"old");
}

TEST(SettingsFile, MissingFolderOrFolderPathFails)
{
    TempDir dir;
    std::wstring missing = dir / L"nofolder\\Pellgrove.ini";
    EXPECT_EQ(Record(0, L"v").Write(missing.c_str()), 0);
    EXPECT_EQ(GetFileAttributesW((dir / L"nofolder").c_str()), INVALID_FILE_ATTRIBUTES);
    std::wstring folder = dir / L"folder.ini";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_EQ(Record(0, L"v").Write(folder.c_str()), 0);
    EXPECT_EQ(Record(1, L"v").Write(nullptr), 0);
    EXPECT_EQ(Record(1, L"v").Write(L""), 0);
}
