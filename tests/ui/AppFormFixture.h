#pragma once

// A main window on the offscreen platform with its own settings file and
// memo books in a temporary directory, and the seam scripted.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/AppForm.h"
#include "app/Settings.h"
#include "support/Cp932.h"
#include "support/IniFile.h"
#include "support/Message.h"
#include "tests/ui/ScriptedSeam.h"

class AppFormTest : public ::testing::Test {
  protected:
    AppFormTest() : previousIni(GetIniFile().FileName()) { SetIniFilePath(Path("settings.ini")); }
    ~AppFormTest() override {
        window.reset();
        SetIniFilePath(previousIni);  // other tests keep theirs
    }

    std::string Path(const std::string& name) const {
        return QFile::encodeName(dir.path()).toStdString() + "/" + name;
    }

    // Writes a memo book given as UTF-8 text (converted to CP932).
    std::string WriteBook(const std::string& name, const std::string& utf8) const {
        std::string bytes;
        EXPECT_TRUE(cp932::FromUtf8(utf8, bytes));
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static QString Msg(int id) { return QString::fromStdString(Message(id)); }
    static QString Title(const QString& name) { return name + Msg(1); }

    IniFile& Ini() { return GetIniFile(); }

    // A new window, started like the program starts it.
    TBroltMemoAppForm& Start(const QStringList& arguments = {}) {
        window = std::make_unique<TBroltMemoAppForm>();
        window->FormCreate(arguments);
        return *window;
    }

    // Memo texts as the window holds them: CP932 bytes.
    static std::string Cp(const std::string& utf8) { return cp932::EncodeUtf8(utf8); }

    std::string previousIni;
    QTemporaryDir dir;
    ScriptedSeam seam;
    std::unique_ptr<TBroltMemoAppForm> window;
};
