#pragma once

// The recently used files, the most recent first, as numbered entries of a
// menu placed after an anchor item, and their section of the settings file.

#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "support/IniFile.h"
#include "support/Mru.h"
#include "support/PathString.h"

class QAction;
class QMenu;

class RecentUsedFilesMenu {
  public:
    using ClickHandler = std::function<void(QAction*)>;

    // Entries go after `anchor`, an item of `menu`; each click on one calls
    // `onClick` with the entry.
    RecentUsedFilesMenu(QMenu* menu, QAction* anchor, ClickHandler onClick, unsigned capacity);
    virtual ~RecentUsedFilesMenu() = default;
    RecentUsedFilesMenu(const RecentUsedFilesMenu&) = delete;
    RecentUsedFilesMenu& operator=(const RecentUsedFilesMenu&) = delete;

    // Makes `path` the most recent file.
    void AddFile(const std::string& path);
    // The path an entry shows; empty when the item is no entry.
    path_string FileOf(const QAction* item) const;
    // The path at position n (0 = most recent); empty beyond the list.
    path_string FileAt(std::size_t n) const;
    std::size_t Count() const { return files.size(); }

    void ReadFromIni(const IniFile& ini);
    void WriteToIni(IniFile& ini) const;
    // Removes the entries and their separator and empties the list.
    void ClearEntries();

    static std::string KeyName(int n);
    // "&1 /home/me/memo.txt"; an ampersand in the path is shown as itself.
    static QString ItemCaption(int n, const path_string& path);

  private:
    int InsertIndex() const;
    QAction* NewEntry();
    void UpdateCaptions();

    mru<path_string> files;
    QMenu* parent;
    QAction* anchor;
    ClickHandler on_click;
    QAction* separator = nullptr;
    std::vector<QAction*> entries;  // owned by the menu
};
