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

// "Operation"/"SaveAlways": answer the unsaved-changes question with Yes.
bool ReadSaveAlways();
// "Operation"/"OpenLastFile": open the most recent file at a plain start.
bool ReadOpenLastFile();

// A font as the text "face,points,bold,italic" (bold and italic 1 or 0).
QString FontToString(const QFont& font);
// Applies such a text to `font`: face, size, bold and italic; fields that
// are missing leave the font as it was, and a size that is no positive
// number gives the application's default size.
void StringToFont(const QString& text, QFont& font);
