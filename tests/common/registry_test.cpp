#include "registry.h"

#include <gtest/gtest.h>

#include <QMap>

using namespace lexi;

namespace {

struct Value {
    std::uint32_t type;
    QByteArray bytes;
};

// A registry held in memory, recording what was opened and closed.
class FakeRegistry : public RegistryApi {
public:
    QMap<QString, QMap<QString, Value>> keys;
    std::uint32_t lastAccess = 0;
    int opens = 0;
    int closes = 0;

    long openKey(std::uint32_t root, const QString& keyName, std::uint32_t access, std::uintptr_t& key) override
    {
        ++opens;
        lastAccess = access;
        if (root != HKEY_LOCAL_MACHINE_ROOT || !keys.contains(keyName))
            return 2;
        key = static_cast<std::uintptr_t>(keys.keys().indexOf(keyName) + 1);
        return 0;
    }
    long queryValue(std::uintptr_t key, const QString& valueName, std::uint32_t& type, QByteArray& buffer,
                    std::uint32_t& size) override
    {
        const auto& values = keys[keys.keys().at(int(key) - 1)];
        if (!values.contains(valueName))
            return 2;
        const Value& v = values[valueName];
        if (v.bytes.size() > static_cast<qsizetype>(size))
            return 234;
        std::copy(v.bytes.begin(), v.bytes.end(), buffer.begin());
        type = v.type;
        size = static_cast<std::uint32_t>(v.bytes.size());
        return 0;
    }
    long closeKey(std::uintptr_t) override
    {
        ++closes;
        return 0;
    }
};

class FakeLauncher : public ProgramLauncher {
public:
    QStringList existing;
    QStringList started;
    bool startSucceeds = true;
    bool fileExists(const QString& path) override { return existing.contains(path); }
    bool start(const QString& program) override
    {
        started << program;
        return startSucceeds;
    }
};

const QString kMsinfo = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocation = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

}  // namespace

TEST(GetKeyValueTest, StringWithAndWithoutTerminator)
{
    FakeRegistry reg;
    reg.keys[kMsinfo][QStringLiteral("WITH")] = {REG_SZ_TYPE, QByteArray("C:\\msinfo32.exe", 16)};
    reg.keys[kMsinfo][QStringLiteral("WITHOUT")] = {REG_SZ_TYPE, QByteArray("C:\\msinfo32.exe", 15)};
    QString v = QStringLiteral("old");
    EXPECT_TRUE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, kMsinfo, QStringLiteral("WITH"), v));
    EXPECT_EQ(v, QStringLiteral("C:\\msinfo32.exe"));
    EXPECT_TRUE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, kMsinfo, QStringLiteral("WITHOUT"), v));
    EXPECT_EQ(v, QStringLiteral("C:\\msinfo32.exe"));
    EXPECT_EQ(reg.lastAccess, 0x2003Fu);
    EXPECT_EQ(reg.closes, reg.opens);
}

TEST(GetKeyValueTest, DwordIsHexOfKeptBytesLastFirst)
{
    FakeRegistry reg;
    reg.keys[kMsinfo][QStringLiteral("N")] = {REG_DWORD_TYPE, QByteArray("\x0A\x01\xFF\x05", 4)};
    QString v = QStringLiteral("7");  // what the caller held stays in front of the digits
    EXPECT_TRUE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, kMsinfo, QStringLiteral("N"), v));
    EXPECT_EQ(v, QStringLiteral("&h75FF1A"));
}

TEST(GetKeyValueTest, FailuresAndOddValues)
{
    FakeRegistry reg;
    reg.keys[kMsinfo][QStringLiteral("BIN")] = {3, QByteArray("abc", 3)};
    reg.keys[kMsinfo][QStringLiteral("EMPTY")] = {REG_SZ_TYPE, QByteArray()};
    QString v = QStringLiteral("kept");
    // Another type: read, but the value is left as it was.
    EXPECT_TRUE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, kMsinfo, QStringLiteral("BIN"), v));
    EXPECT_EQ(v, QStringLiteral("kept"));
    // Size 0 cannot be cut: the look-up fails.
    EXPECT_FALSE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, kMsinfo, QStringLiteral("EMPTY"), v));
    // A missing value or key empties the value.
    EXPECT_FALSE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, kMsinfo, QStringLiteral("NONE"), v));
    EXPECT_EQ(v, QString());
    v = QStringLiteral("x");
    EXPECT_FALSE(GetKeyValue(reg, HKEY_LOCAL_MACHINE_ROOT, QStringLiteral("SOFTWARE\\Nothing"), QStringLiteral("PATH"), v));
    EXPECT_EQ(v, QString());
    // The key is closed on every path, the failed open included.
    EXPECT_EQ(reg.closes, reg.opens);
}

TEST(StartSysInfoTest, FirstKeyStartsItsPathUnchecked)
{
    FakeRegistry reg;
    reg.keys[kMsinfo][QStringLiteral("PATH")] = {REG_SZ_TYPE, QByteArray("D:\\gone\\viewer.exe", 19)};
    FakeLauncher launcher;
    EXPECT_TRUE(StartSysInfo(reg, launcher));
    EXPECT_EQ(launcher.started, QStringList{QStringLiteral("D:\\gone\\viewer.exe")});
    launcher.startSucceeds = false;
    EXPECT_FALSE(StartSysInfo(reg, launcher));
}

TEST(StartSysInfoTest, SecondKeyNeedsTheFileInItsFolder)
{
    FakeRegistry reg;
    reg.keys[kLocation][QStringLiteral("MSINFO")] = {REG_SZ_TYPE, QByteArray("C:\\Tools", 9)};
    FakeLauncher launcher;
    EXPECT_FALSE(StartSysInfo(reg, launcher));
    EXPECT_TRUE(launcher.started.isEmpty());
    launcher.existing << QStringLiteral("C:\\Tools\\MSINFO32.EXE");
    EXPECT_TRUE(StartSysInfo(reg, launcher));
    EXPECT_EQ(launcher.started, QStringList{QStringLiteral("C:\\Tools\\MSINFO32.EXE")});
}

TEST(StartSysInfoTest, NoKeysNoStart)
{
    FakeRegistry reg;
    FakeLauncher launcher;
    EXPECT_FALSE(StartSysInfo(reg, launcher));
    EXPECT_TRUE(launcher.started.isEmpty());
}

#include "dialogs.h"

TEST(DialogSeamTest, FiltersAndReplacement)
{
    EXPECT_EQ(qtFilter(QStringLiteral("Rich text format(*.rtf)|*.rtf")), QStringLiteral("Rich text format(*.rtf)"));
    EXPECT_EQ(qtFilter(QStringLiteral("Text|*.txt|All|*")), QStringLiteral("Text (*.txt);;All (*)"));

    struct Canned : DialogProvider {
        QString openFileName(QWidget*, const QString& title, const QString&) override { return title + "!"; }
    } canned;
    setDialogProvider(&canned);
    EXPECT_EQ(dialogs().openFileName(nullptr, QStringLiteral("Open"), {}), QStringLiteral("Open!"));
    setDialogProvider(nullptr);
    EXPECT_NE(&dialogs(), static_cast<DialogProvider*>(&canned));
}
