#include "app/AppForm.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>

#include "app/EntryListModel.h"
#include "app/Settings.h"
#include "support/Cp932.h"
#include "support/Message.h"

namespace {

QString CountText(int position, int count) {
    return QString::asprintf(Message(26).c_str(), position, count);
}

}  // namespace

void TBroltMemoAppForm::BeginListRefill() {
    treeEntryWord->setUpdatesEnabled(false);
    refillingList = true;
}

void TBroltMemoAppForm::EndListRefill() {
    refillingList = false;
    treeEntryWord->setUpdatesEnabled(true);
}

void TBroltMemoAppForm::RefreshEntryList(bool updateTitle) {
    BeginListRefill();
    if (updateTitle) {
        UpdateTitle();
        treeEntryWord->selectionModel()->clearSelection();
    }
    // A model reset drops every row and the selection; the view then asks
    // only for the rows it shows.
    entryModel->Reload();
    const std::string& wanted = memoDoc.HeadwordToSelect();
    int select = -1;
    if (!wanted.empty()) {
        const std::size_t at = memoDoc.Data().IndexOf(wanted);
        // The same bytes, not merely a collation-equal headword.
        if (at != BroltMemoData::npos && memoDoc.Data().HeadwordAt(at) == wanted) {
            select = static_cast<int>(at);
        }
    }
    EndListRefill();
    if (select >= 0) {
        SelectRow(select);  // the change handler shows it
    } else {
        ShowSelectedMemo();
    }
    MarkFoundWords(false);
    UpdateStatusCount();
}

int TBroltMemoAppForm::SelectedRow() const {
    const QModelIndexList rows = treeEntryWord->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TBroltMemoAppForm::SelectRow(int row) {
    const QModelIndex index = entryModel->index(row);
    treeEntryWord->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    treeEntryWord->scrollTo(index);
}

void TBroltMemoAppForm::treeEntryWordChange() {
    ShowSelectedMemo();
    UpdateStatusCount();
}

void TBroltMemoAppForm::ShowSelectedMemo() {
    if (!refillingList) {
        const int row = SelectedRow();
        if (row >= 0) {
            const std::string_view headword = entryModel->HeadwordAt(row);
            lblEntryWord->setText(QString::fromStdU16String(cp932::ToUtf16(headword)));
            QString content = QString::fromStdU16String(
                cp932::ToUtf16(memoDoc.Data().ContentAt(static_cast<std::size_t>(row))));
            // Contents break lines with LF (from a file) or CR LF (from the
            // edit dialog); the control wants one kind.
            content.replace("\r\n", "\n");
            memoContent->setPlainText(content);
        } else {
            lblEntryWord->clear();
            memoContent->clear();
        }
    }
    UpdateContentState();
}

void TBroltMemoAppForm::UpdateContentState() {
    memoContent->setEnabled(SelectedRow() >= 0);
    UpdateMenuState();
}

void TBroltMemoAppForm::UpdateStatusCount() {
    statusPanel1->setText(CountText(SelectedRow() + 1, entryModel->rowCount()));
}

void TBroltMemoAppForm::AdjustStatusPanels() {
    statusPanel1->setFixedWidth(
        statusPanel1->fontMetrics().horizontalAdvance(CountText(9999, 9999)) +
        2 * statusPanel1->margin());
    QStyle* s = style();
    statusPanel2->setFixedWidth(s->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth));
}

void TBroltMemoAppForm::ApplyFonts() {
    QFont headword = font();
    StringToFont(ReadFontSetting(0), headword);
    lblEntryWord->setFont(headword);
    QFont content = font();
    StringToFont(ReadFontSetting(1), content);
    memoContent->setFont(content);
}
