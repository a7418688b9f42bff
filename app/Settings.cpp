#include "app/Settings.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

#include "support/PathString.h"

namespace {

std::unique_ptr<IniFile>& IniInstance() {
    static std::unique_ptr<IniFile> ini;
    return ini;
}

}  // namespace

std::string DefaultIniPath() {
    const QString exe = QCoreApplication::applicationFilePath();
    const QString dir = QFileInfo(exe).absolutePath();
    if (!exe.isEmpty() && ::access(QFile::encodeName(dir).constData(), W_OK) == 0) {
        path_string path(QFile::encodeName(exe).toStdString());
        path.set_extension("ini");
        return path;
    }
    // An installed program cannot write beside itself.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           "/brolteck-memo";
    QDir().mkpath(config);
    return QFile::encodeName(config + "/brolteck-memo.ini").toStdString();
}

IniFile& GetIniFile() {
    auto& ini = IniInstance();
    if (!ini) {
        ini = std::make_unique<IniFile>(DefaultIniPath());
    }
    return *ini;
}

void SetIniFilePath(const std::string& path) { IniInstance() = std::make_unique<IniFile>(path); }
