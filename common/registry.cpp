#include "registry.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace lexi {

namespace {

const QString kMsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolsLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// Without a registry the viewer's first key names whichever desktop
// system-information program is installed.
class DesktopRegistry : public RegistryApi {
public:
    long openKey(std::uint32_t root, const QString& keyName, std::uint32_t, std::uintptr_t& key) override
    {
        if (root != HKEY_LOCAL_MACHINE_ROOT || keyName.compare(kMsinfoKey, Qt::CaseInsensitive) != 0)
            return 2;
        key = 1;
        return 0;
    }

    long queryValue(std::uintptr_t, const QString& valueName, std::uint32_t& type, QByteArray& buffer,
                    std::uint32_t& size) override
    {
        if (valueName.compare(QStringLiteral("PATH"), Qt::CaseInsensitive) != 0)
            return 2;
        const QString viewer = findViewer();
        if (viewer.isEmpty())
            return 2;
        const QByteArray value = viewer.toLocal8Bit() + '\0';
        if (value.size() > static_cast<qsizetype>(size))
            return 234;  // more data than the buffer holds
        type = REG_SZ_TYPE;
        std::copy(value.begin(), value.end(), buffer.begin());
        size = static_cast<std::uint32_t>(value.size());
        return 0;
    }

    long closeKey(std::uintptr_t) override { return 0; }

private:
    static QString findViewer()
    {
        for (const char* name : {"kinfocenter", "hardinfo2", "hardinfo", "gnome-system-monitor", "xfce4-taskmanager",
                                 "mate-system-monitor", "lxtask"}) {
            const QString path = QStandardPaths::findExecutable(QLatin1String(name));
            if (!path.isEmpty())
                return path;
        }
        return {};
    }
};

}  // namespace

bool GetKeyValue(RegistryApi& registry, std::uint32_t keyRoot, const QString& keyName, const QString& subKeyRef,
                 QString& keyVal)
{
    std::uintptr_t key = 0;
    bool result = false;
    if (registry.openKey(keyRoot, keyName, kKeyAccess, key) != 0) {
        keyVal.clear();
    } else {
        QByteArray buffer(1024, '\0');
        std::uint32_t size = 1024;
        std::uint32_t type = 0;
        if (registry.queryValue(key, subKeyRef, type, buffer, size) != 0) {
            keyVal.clear();
        } else if (size == 0 || size > 1024) {
            // Nothing to cut a text from: the look-up ends here.
        } else {
            // The reported size may or may not count the terminating zero.
            const int kept = buffer.at(size - 1) == '\0' ? int(size) - 1 : int(size);
            const QByteArray text = buffer.left(kept);
            if (type == REG_SZ_TYPE) {
                keyVal = QString::fromLocal8Bit(text);
            } else if (type == REG_DWORD_TYPE) {
                for (int i = text.size() - 1; i >= 0; --i)
                    keyVal += QString::number(static_cast<unsigned char>(text.at(i)), 16).toUpper();
                keyVal = QStringLiteral("&h") + keyVal;
            }
            result = true;
        }
    }
    registry.closeKey(key);
    return result;
}

bool ProgramLauncher::fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

bool ProgramLauncher::start(const QString& program)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}

bool StartSysInfo(RegistryApi& registry, ProgramLauncher& launcher)
{
    QString path;
    if (GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, kMsinfoKey, QStringLiteral("PATH"), path))
        return launcher.start(path);
    if (!GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, kToolsLocationKey, QStringLiteral("MSINFO"), path))
        return false;
    path += QStringLiteral("\\MSINFO32.EXE");
    if (!launcher.fileExists(path))
        return false;
    return launcher.start(path);
}

RegistryApi& systemRegistry()
{
    static DesktopRegistry registry;
    return registry;
}

}  // namespace lexi
