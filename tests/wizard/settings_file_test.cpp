// The device settings file: its mark, its two key sets, reading and writing.
#include "wizard/DeviceSettings.h"
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The keys both sets share, the normal-mode set's own and the USB-stick set's own.
using Keys = std::vector<const wchar_t*>;
const Keys kGroups[] = {
    {L"timestamp", L"name", L"dhcp", L"ip", L"netmask", L"gateway", L"nameserver", L"ntp", L"ntpserver"},
    {L"comment", L"workgroup", L"ntpboot", L"ntpdaily", L"ntpdailytime"},
    {L"led", L"autoupdate", L"resrecdel", L"share", L"spindown", L"systeminit", L"category", L"recpreserve"}};

// A record whose 22 fields all hold value.
CDeviceSettings Record(int kind, const std::wstring& value)
{
    CDeviceSettings s;
    s.kind = kind;
    for (auto* f : {&s.timestamp, &s.name, &s.comment, &s.workgroup, &s.dhcp, &s.ip, &s.netmask,
                    &s.gateway, &s.nameserver, &s.ntp, &s.ntpserver, &s.ntpboot, &s.ntpdaily,
                    &s.ntpdailytime, &s.led, &s.autoupdate, &s.resrecdel, &s.share, &s.spindown,
                    &s.systeminit, &s.category, &s.recpreserve})
        *f = value;
    return s;
}

// The section with all 22 keys set to value.
std::wstring AllKeys(const wchar_t* value)
{
    std::wstring text = L"[pellgrove]\r\n";
    for (const Keys& keys : kGroups)
        for (const wchar_t* k : keys) text += std::wstring(k) + L"=" + value + L"\r\n";
    return text;
}

// Each key of the file holds the value of its group (shared, normal-mode own, USB-stick own).
void ExpectGroups(const std::wstring& path, const std::vector<const wchar_t*>& values)
{
    for (size_t g = 0; g < 3; ++g)
        for (const wchar_t* k : kGroups[g]) EXPECT_EQ(ProfileValue(path, L"pellgrove", k), values[g]) << k;
}

}  // namespace

TEST(SettingsFile, NewFileIsHiddenMarkedAndHoldsTheKeySetInOrder)
{
    // Each key set with the record's defaults; empty fields leave their keys out.
    const std::wstring head = L"[pellgrove]\r\ntimestamp=20260102030405\r\nname=DV1\r\n";
    const std::wstring net = L"dhcp=on\r\nntp=on\r\nntpserver=ntp.example\r\n";
    const std::pair<int, std::wstring> rows[] = {
        {0, head + L"comment=Dorvane series\r\nworkgroup=WORKGROUP\r\n" + net + L"ntpboot=on\r\nntpdaily=off\r\n"},
        {1, head + net + L"led=3\r\nautoupdate=on\r\nresrecdel=off\r\nshare=on\r\nspindown=1800\r\n"
                         L"systeminit=off\r\ncategory=english\r\nrecpreserve=hdd\r\n"}};
    for (const auto& row : rows) {
        TempDir dir;
        std::wstring path = dir / L"Pellgrove.ini";
        CDeviceSettings s;
        s.kind = row.first;
        s.timestamp = L"20260102030405";
        s.name = L"DV1";
        s.ntpserver = L"ntp.example";
        ASSERT_EQ(s.Write(path.c_str()), 1);
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY),
                  DWORD(FILE_ATTRIBUTE_HIDDEN));
        EXPECT_EQ(ReadBytes(path), Utf16Bytes(row.second, true)) << row.first;
    }
}

TEST(SettingsFile, MarkIsCreatedOnlyForNewFilesAndMustBeComplete)
{
    TempDir dir;
    EXPECT_EQ(CreateSettingsFile((dir / L"new.ini").c_str()), 1);
    EXPECT_EQ(ReadBytes(dir / L"new.ini"), "\xFF\xFE");
    EXPECT_EQ(IsUnicodeFile((dir / L"new.ini").c_str()), 1);
    ASSERT_TRUE(WriteBytes(dir / L"old.ini", "[x]\r\n"));
    EXPECT_EQ(CreateSettingsFile((dir / L"old.ini").c_str()), 0);
    EXPECT_EQ(ReadBytes(dir / L"old.ini"), "[x]\r\n");

    ASSERT_TRUE(WriteBytes(dir / L"one", "\xFF"));
    ASSERT_TRUE(WriteBytes(dir / L"be", "\xFE\xFF"));
    for (const wchar_t* name : {L"one", L"be", L"missing", L""})
        EXPECT_EQ(IsUnicodeFile((dir / name).c_str()), 0) << name;
}

TEST(SettingsFile, EachKeySetTouchesOnlyItsOwnKeysAndEmptyValuesRemoveThem)
{
    TempDir dir;
    std::wstring path = dir / L"s.ini";
    std::wstring text = L"[before]\r\nx=1\r\n" + AllKeys(L"old") + L"foreign=keep\r\n[after]\r\ny=2\r\n";
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(text, true)));

    ASSERT_EQ(Record(0, L"new").Write(path.c_str()), 1);
    ExpectGroups(path, {L"new", L"new", L"old"});
    ASSERT_EQ(Record(1, L"").Write(path.c_str()), 1);
    ExpectGroups(path, {L"<none>", L"new", L"<none>"});

    std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.find(Utf16Bytes(L"name=", false)), std::string::npos);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ProfileValue(path, L"pellgrove", L"foreign"), L"keep");
    EXPECT_EQ(ProfileValue(path, L"before", L"x"), L"1");
    EXPECT_EQ(ProfileValue(path, L"after", L"y"), L"2");
}

TEST(SettingsFile, FileWithoutMarkIsWrittenAsItIsButNeverRead)
{
    TempDir dir;
    std::wstring path = dir / L"plain.ini";
    ASSERT_TRUE(WriteBytes(path, "[other]\r\nz=3\r\n"));
    ASSERT_EQ(Record(0, L"v").Write(path.c_str()), 1);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(ReadBytes(path).substr(0, 9), "[other]\r\n");
    EXPECT_EQ(ProfileValue(path, L"other", L"z"), L"3");
    EXPECT_EQ(ProfileValue(path, L"pellgrove", L"name"), L"v");

    CDeviceSettings r;
    r.comment = L"untouched";
    EXPECT_EQ(r.Read(path.c_str()), 0);
    EXPECT_EQ(r.comment + L"|" + r.name, L"untouched|");
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
    EXPECT_EQ(r.name + L"|" + r.ip + L"|" + r.led + L"|" + r.ntpdailytime, w.name + L"|192.168.0.10|0|");  // a missing key
    EXPECT_EQ(r.kind, 0);
}

TEST(SettingsFile, ReadKeepsInvalidValuesAndCutsLongOnes)
{
    TempDir dir;
    std::wstring path = dir / L"s.ini";
    std::wstring text = L"[pellgrove]\r\nname=" + std::wstring(300, L'n') + L"\r\nled=1\r\n";
    ASSERT_TRUE(WriteBytes(path, Utf16Bytes(text, true)));
    CDeviceSettings r;
    EXPECT_EQ(r.Read(path.c_str()), 0);  // USB keys only: no workgroup
    EXPECT_EQ(r.name + L"|" + r.led + L"|" + r.workgroup, std::wstring(255, L'n') + L"|1|");
}

TEST(SettingsFile, UnwritableTargetsAreLeftAsTheyWereAndWriteFails)
{
    TempDir dir;
    std::wstring path = dir / L"ro.ini";
    std::string before = Utf16Bytes(AllKeys(L"old"), true);
    ASSERT_TRUE(WriteBytes(path, before));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Record(0, L"new").Write(path.c_str()), 0);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ProfileValue(path, L"pellgrove", L"name"), L"old");  // nothing unsaved lingers in the profile cache
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(Record(0, L"v").Write((dir / L"nofolder\\Pellgrove.ini").c_str()), 0);
    EXPECT_EQ(GetFileAttributesW((dir / L"nofolder").c_str()), INVALID_FILE_ATTRIBUTES);
    std::wstring folder = dir / L"folder.ini";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_EQ(Record(0, L"v").Write(folder.c_str()), 0);
    EXPECT_EQ(Record(1, L"v").Write(nullptr), 0);
}
