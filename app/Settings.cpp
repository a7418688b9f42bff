#include "app/Settings.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "support/PathString.h"
#include "support/TextUtil.h"

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
    const QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/brolteck-memo";
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

void SetIniFilePath(const std::string& path) {
    IniInstance() = std::make_unique<IniFile>(path);
}

bool ReadSaveAlways() {
    return GetIniFile().ReadBool("Operation", "SaveAlways", false);
}

bool ReadOpenLastFile() {
    return GetIniFile().ReadBool("Operation", "OpenLastFile", false);
}

QString FontToString(const QFont& font) {
    return QString("%1,%2,%3,%4")
        .arg(font.family())
        .arg(font.pointSize())
        .arg(font.bold() ? 1 : 0)
        .arg(font.italic() ? 1 : 0);
}

namespace {

// The decimal number at the start of `field` (blanks before it skipped,
// anything after it ignored); 0 when there is none.
int LeadingNumber(const std::string& field) {
    std::size_t i = field.find_first_not_of(" \t");
    if (i == std::string::npos) {
        return 0;
    }
    const char* begin = field.c_str() + i;
    char* end = nullptr;
    long value = std::strtol(begin, &end, 10);
    if (end == begin) {
        return 0;
    }
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

}  // namespace

void StringToFont(const QString& text, QFont& font) {
    std::vector<std::string> fields;
    split_string(text.toStdString(), ',', fields);
    font.setFamily(QString::fromStdString(fields[0]));
    if (fields.size() > 1) {
        // Size 0 stands for the system's default height. Beyond that, a
        // hand-edited giant size is capped so that drawing stays possible.
        constexpr int kMaxPoints = 1000;
        int points = LeadingNumber(fields[1]);
        if (points <= 0) {
            points = QApplication::font().pointSize() > 0 ? QApplication::font().pointSize() : 9;
        }
        font.setPointSize(std::min(points, kMaxPoints));
    }
    if (fields.size() > 2) {
        font.setBold(LeadingNumber(fields[2]) != 0);
    }
    if (fields.size() > 3) {
        font.setItalic(LeadingNumber(fields[3]) != 0);
    }
}
