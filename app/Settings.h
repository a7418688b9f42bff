#pragma once

// The program's one settings file and the typed reads over it.

#include <QFont>
#include <QString>

#include <string>

#include "support/IniFile.h"

// The settings file: created on first use and kept until the program ends.
IniFile& GetIniFile();
// Where the settings file lives: beside the executable (its name with the
// extension "ini") when that directory is writable, else in the user's
// configuration directory ($XDG_CONFIG_HOME/brolteck-memo/brolteck-memo.ini).
std::string DefaultIniPath();
// Points GetIniFile at another file (tests use a temporary one).
void SetIniFilePath(const std::string& path);
