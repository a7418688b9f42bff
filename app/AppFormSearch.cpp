#include "app/AppForm.h"

#include <QListView>
#include <QPlainTextEdit>

#include <algorithm>
#include <vector>

#include "app/EntryListModel.h"
#include "app/UiSeam.h"
#include "dialogs/BmDFind.h"
#include "dialogs/MemoText.h"
#include "support/CenterOverForm.h"
#include "support/SelectedString.h"

namespace {

// The rows of the hits, ascending, found by looking each hit up in the
// store; the list shows the store's rows in its order. Only worth it while
// the hits are few against the rows: false then, and the caller walks the
// rows instead (with many hits the next one is near).
bool HitRowsByLookup(const BroltMemoData& store, const std::vector<std::string>& foundWords,
                     int rowCount, std::vector<int>& rows) {
    if (foundWords.size() * 32 > static_cast<std::size_t>(rowCount)) {
        return false;
    }
    rows.clear();
    for (const std::string& headword : foundWords) {
        const std::size_t at = store.IndexOf(headword);
        // Byte for byte, not merely collation-equal.
        if (at != BroltMemoData::npos && store.HeadwordAt(at) == headword) {
            rows.push_back(static_cast<int>(at));
        }
    }
    std::sort(rows.begin(), rows.end());
    return true;
}

}  // namespace

void TBroltMemoAppForm::actFindExecute() {
    TFindDlg dialog(this);
    center_over_form(this, &dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    findText = dialog.GetFindWord();
    if (RunSearch(true) > 0) {
        Seam().Beep();
    } else {
        ShowMessageId(22, MB_ICONINFORMATION);
    }
}

int TBroltMemoAppForm::RunSearch(bool selectFirst) {
    foundWords.clear();
    if (!findText.empty() && memoDoc.FindMemos(findText, foundWords)) {
        // Plain byte order: std::string compares its chars as unsigned.
        std::sort(foundWords.begin(), foundWords.end());
    }
    MarkFoundWords(selectFirst);
    return static_cast<int>(foundWords.size());
}

void TBroltMemoAppForm::MarkFoundWords(bool selectFirst) {
    // The model decides a row's image from foundWords when the row is drawn,
    // so a repaint marks the list; no row is visited here.
    treeEntryWord->viewport()->update();
    if (selectFirst) {
        const int first = FirstHitRow();
        if (first >= 0) {
            SelectRow(first);
        } else {
            treeEntryWord->selectionModel()->clearSelection();
        }
    }
    UpdateMenuState();
}

int TBroltMemoAppForm::FirstHitRow() const {
    std::vector<int> rows;
    const int count = entryModel->rowCount();
    if (HitRowsByLookup(memoDoc.Data(), foundWords, count, rows)) {
        return rows.empty() ? -1 : rows.front();
    }
    for (int row = 0; row < count; ++row) {
        if (entryModel->IsHit(row)) {
            return row;
        }
    }
    return -1;
}

void TBroltMemoAppForm::StepToFoundWord(bool backward) {
    const int step = backward ? -1 : 1;
    const int selected = SelectedRow();
    // Nothing selected: both directions start at the first node, so a
    // backward step looks at that node only.
    const int from = selected >= 0 ? selected + step : 0;
    const int count = entryModel->rowCount();
    int found = -1;
    std::vector<int> rows;
    if (from < 0 || from >= count) {
        // past either end: no wrap-around
    } else if (HitRowsByLookup(memoDoc.Data(), foundWords, count, rows)) {
        if (backward) {
            auto it = std::upper_bound(rows.begin(), rows.end(), from);
            found = it == rows.begin() ? -1 : *std::prev(it);
        } else {
            auto it = std::lower_bound(rows.begin(), rows.end(), from);
            found = it == rows.end() ? -1 : *it;
        }
    } else {
        for (int row = from; row >= 0 && row < count; row += step) {
            if (entryModel->IsHit(row)) {
                found = row;
                break;
            }
        }
    }
    if (found < 0) {
        Seam().Beep();  // the selection stays
        return;
    }
    SelectRow(found);
}

void TBroltMemoAppForm::actFindNextExecute() {
    StepToFoundWord(false);
}

void TBroltMemoAppForm::actFindPrevExecute() {
    StepToFoundWord(true);
}

void TBroltMemoAppForm::ClearSearch() {
    findText.clear();
    foundWords.clear();
    MarkFoundWords(false);
}

void TBroltMemoAppForm::ResetFindItemClick() {
    ClearSearch();
}

void TBroltMemoAppForm::actOpenStrExecute() {
    std::string selection;
    cp932::Unencodable bad;
    if (!QStringToMemo(ContentSelection(), selection, &bad)) {
        // Only bytes of the memo that were not CP932 to begin with.
        ShowMessageText(
            QString("開けない文字が含まれています: %1").arg(DescribeCharacter(bad.character)),
            MB_ICONEXCLAMATION);
        return;
    }
    const QString target = MemoToQString(SelectedStringToOpen(selection));
    QString error;
    if (!Seam().ShellOpen(this, target, &error)) {
        ShowMessageText(error, MB_ICONEXCLAMATION);
    }
}
