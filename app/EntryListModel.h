#pragma once

// The headword list as a model over the memo store: one row per memo, in
// store order. Nothing is copied per row; a row's text is converted only
// when a view asks for it, so a book of a million memos costs nothing here.

#include <QAbstractListModel>
#include <QIcon>

#include <string>
#include <string_view>
#include <vector>

class BroltMemoData;

class EntryListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    // `foundWords` (sorted bytewise) decides which rows show the hit image.
    EntryListModel(const BroltMemoData& store, const std::vector<std::string>& foundWords,
                   QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Takes the store's rows afresh (a model reset).
    void Reload();
    // Drops one row whose memo the store has just erased.
    void RemoveRow(int row);
    // The row's headword as stored (CP932 bytes).
    std::string_view HeadwordAt(int row) const;
    bool IsHit(int row) const;

  private:
    const BroltMemoData& store;
    const std::vector<std::string>& foundWords;
    int rows = 0;
    QIcon entryIcon;
    QIcon hitIcon;
};
