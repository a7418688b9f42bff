#pragma once

#include <string>

class BroltMemoData;

// Writes the store to `path` so that at every instant the name holds either
// the complete previous file or the complete new one: the new content goes to
// a temporary file in the same directory, reaches the disk, and only then
// takes the name. With `makeBackup` the previous version is kept under the
// backup name (memo.txt -> memo.bak), replacing an older backup.
//
// The saved file keeps the permission bits of the file it replaces; a
// symbolic link stays a link and the save goes to its target, beside which
// the backup stands. On failure the temporary file is removed and nothing
// else changes: runtime_error with message 10 when the file cannot be given
// the backup name (it is gone, say), message 9 when the old backup cannot be
// replaced, os_error with the system's text when writing fails.
void SaveMemoFile(const BroltMemoData& data, const std::string& path, bool makeBackup);
