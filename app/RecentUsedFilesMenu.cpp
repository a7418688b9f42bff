#include "app/RecentUsedFilesMenu.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <algorithm>

namespace {
const char kSection[] = "RecentUsedFiles";
}

RecentUsedFilesMenu::RecentUsedFilesMenu(QMenu* menu, QAction* anchorItem, ClickHandler onClick,
                                         unsigned capacity)
    : files(capacity), parent(menu), anchor(anchorItem), on_click(std::move(onClick)) {}

std::string RecentUsedFilesMenu::KeyName(int n) {
    return "File" + std::to_string(n);
}

QString RecentUsedFilesMenu::ItemCaption(int n, const path_string& path) {
    // Doubled so that a path like "R&D/memo.txt" is not shown as "RD/memo.txt"
    // with an access key.
    QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    shown.replace('&', "&&");
    return QString("&%1 %2").arg(n).arg(shown);
}

int RecentUsedFilesMenu::InsertIndex() const {
    return static_cast<int>(parent->actions().indexOf(anchor)) + 1;
}

QAction* RecentUsedFilesMenu::NewEntry() {
    auto* item = new QAction(parent);
    QObject::connect(item, &QAction::triggered, parent, [this, item] { on_click(item); });
    return item;
}

void RecentUsedFilesMenu::UpdateCaptions() {
    for (std::size_t k = 0; k < entries.size(); ++k) {
        entries[k]->setText(ItemCaption(static_cast<int>(k + 1), files[k]));
    }
}

void RecentUsedFilesMenu::AddFile(const std::string& path) {
    const std::size_t before = files.size();
    files.push(path_string(path));
    if (files.size() > before) {
        const QList<QAction*> items = parent->actions();
        const int at = InsertIndex();
        QAction* next = at < items.size() ? items[at] : nullptr;
        if (before == 0) {
            separator = new QAction(parent);
            separator->setSeparator(true);
            parent->insertAction(next, separator);
        }
        // After the last entry.
        const int after = at + 1 + static_cast<int>(before);
        const QList<QAction*> now = parent->actions();
        QAction* entry = NewEntry();
        parent->insertAction(after < now.size() ? now[after] : nullptr, entry);
        entries.push_back(entry);
    }
    UpdateCaptions();
}

path_string RecentUsedFilesMenu::FileOf(const QAction* item) const {
    for (std::size_t k = 0; k < entries.size() && k < files.size(); ++k) {
        if (entries[k] == item) {
            return files[k];
        }
    }
    return {};
}

path_string RecentUsedFilesMenu::FileAt(std::size_t n) const {
    return n < files.size() ? files[n] : path_string();
}

void RecentUsedFilesMenu::ClearEntries() {
    for (QAction* entry : entries) {
        delete entry;  // a deleted action leaves its menu
    }
    entries.clear();
    delete separator;
    separator = nullptr;
    files.clear();
}

void RecentUsedFilesMenu::ReadFromIni(const IniFile& ini) {
    ClearEntries();
    // Every key is a read of the file: a garbage count such as 2000000000
    // must not stall the start. No real file holds that many keys.
    constexpr int kMaxKeys = 100;
    const int count = std::min(ini.ReadInteger(kSection, "Num", 0), kMaxKeys);
    // Pushing from the highest number down leaves File1 at the front.
    for (int k = count; k >= 1; --k) {
        std::string path = ini.ReadString(kSection, KeyName(k), {});
        if (!path.empty()) {
            files.push(path_string(path));
        }
    }
    if (files.empty()) {
        return;
    }
    const QList<QAction*> items = parent->actions();
    const int at = InsertIndex();
    QAction* next = at < items.size() ? items[at] : nullptr;
    separator = new QAction(parent);
    separator->setSeparator(true);
    parent->insertAction(next, separator);
    for (std::size_t k = 0; k < files.size(); ++k) {
        QAction* entry = NewEntry();
        parent->insertAction(next, entry);
        entries.push_back(entry);
    }
    UpdateCaptions();
}

void RecentUsedFilesMenu::WriteToIni(IniFile& ini) const {
    ini.WriteInteger(kSection, "Num", static_cast<int>(files.size()));
    for (std::size_t i = 1; i <= files.capacity(); ++i) {
        const int n = static_cast<int>(i);
        if (i <= files.size()) {
            ini.WriteString(kSection, KeyName(n), files[i - 1]);
        } else {
            ini.DeleteKey(kSection, KeyName(n));
        }
    }
}
