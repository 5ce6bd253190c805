#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace lexi {

// The three registry calls the about box needs. On Windows they are the
// system's; elsewhere a small stand-in answers for the viewer's keys.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;
    // 0 on success, like the system calls.
    virtual long openKey(std::uint32_t root, const QString& keyName, std::uint32_t access, std::uintptr_t& key) = 0;
    // Reads at most `size` bytes into `buffer`; sets `type` and `size` to the
    // value's type and its full size in bytes.
    virtual long queryValue(std::uintptr_t key, const QString& valueName, std::uint32_t& type, QByteArray& buffer,
                            std::uint32_t& size) = 0;
    virtual long closeKey(std::uintptr_t key) = 0;
};

inline constexpr std::uint32_t HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;
inline constexpr std::uint32_t kKeyAccess = 0x2003Fu;
inline constexpr std::uint32_t REG_SZ_TYPE = 1;
inline constexpr std::uint32_t REG_DWORD_TYPE = 4;

// Reads one value as text into keyVal; true when it was read. keyVal is
// emptied when the key or value is missing, left alone for other types.
bool GetKeyValue(RegistryApi& registry, std::uint32_t keyRoot, const QString& keyName, const QString& subKeyRef,
                 QString& keyVal);

// Starts programs for StartSysInfo; tests replace it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool fileExists(const QString& path);  // hidden files do not count
    virtual bool start(const QString& program);    // without waiting
};

// Finds and starts the system-information viewer. False when it cannot, in
// which case the caller shows its message.
bool StartSysInfo(RegistryApi& registry, ProgramLauncher& launcher);

// The platform's registry (on Linux: the desktop's system-information viewer
// stands behind the viewer's key).
RegistryApi& systemRegistry();

}  // namespace lexi
