#include "app/AppForm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>

#include <exception>

#include "app/EntryListModel.h"
#include "app/UiSeam.h"
#include "dialogs/AboutBox.h"
#include "dialogs/BmDEdit.h"
#include "dialogs/MemoText.h"
#include "support/CenterOverForm.h"

namespace {

// Every line break as CR LF, whether it came as LF alone or as CR LF.
QString WithCrLf(QString text) {
    text.replace("\r\n", "\n");
    text.replace(QChar::ParagraphSeparator, '\n');  // how the edit gives its line breaks
    text.replace(QChar::LineSeparator, '\n');
    text.replace("\n", "\r\n");
    return text;
}

void ShowFailure(const std::exception& e) {
    ShowMessageText(QString::fromUtf8(e.what()), MB_ICONEXCLAMATION);
}

}  // namespace

QString TBroltMemoAppForm::ContentSelection() const {
    return WithCrLf(memoContent->textCursor().selectedText());
}

void TBroltMemoAppForm::actCopyExecute() {
    QString text;
    if (ContentFocused()) {
        if (memoContent->isEnabled() && ContentHasSelection()) {
            text = ContentSelection();
        }
    } else if (ListFocused() && SelectedRow() >= 0) {
        const int row = SelectedRow();
        text = WithCrLf(MemoToQString(entryModel->HeadwordAt(row)) + '\n' +
                        MemoToQString(memoDoc.Data().ContentAt(static_cast<std::size_t>(row))));
    }
    if (text.isEmpty()) {
        Seam().Beep();  // nothing to copy
        return;
    }
    QGuiApplication::clipboard()->setText(text);
}

void TBroltMemoAppForm::actUndoExecute() {
    try {
        memoDoc.Undo();
    } catch (const std::exception& e) {
        ShowFailure(e);  // the history is as it was
    }
    RefreshEntryList(false);
}

void TBroltMemoAppForm::actRedoExecute() {
    try {
        memoDoc.Redo();
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
    RefreshEntryList(false);
}

void TBroltMemoAppForm::actAddMemoExecute() {
    EditMemoWithDialog(true);
}

void TBroltMemoAppForm::actEditMemoExecute() {
    EditMemoWithDialog(false);
}

void TBroltMemoAppForm::EditMemoWithDialog(bool addNew) {
    TEditMemoDlg dialog(this, false, &memoDoc);
    std::string oldHeadword;
    if (!addNew) {
        oldHeadword = entryModel->HeadwordAt(SelectedRow());
        dialog.SetEntryWord(oldHeadword);
    }
    center_over_form(this, &dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    try {
        // A new headword is a rename: two commands, undone in two steps.
        if (!addNew && dialog.GetEntryWord() != oldHeadword) {
            memoDoc.SubmitDeleteMemo(oldHeadword);
        }
        memoDoc.SubmitSetMemo(dialog.GetEntryWord(), dialog.GetContent());
    } catch (const std::exception& e) {
        // The failed command left nothing behind, but a rename's deletion
        // may have gone through: the list must show the book as it is.
        ShowFailure(e);
    }
    RunSearch(false);
    RefreshEntryList(false);
}

void TBroltMemoAppForm::actDelMemoExecute() {
    const int row = SelectedRow();
    try {
        memoDoc.SubmitDeleteMemo(entryModel->HeadwordAt(row));
    } catch (const std::exception& e) {
        ShowFailure(e);  // nothing was deleted
        return;
    }
    // The node goes away without a rebuild; its neighbour below (or above,
    // at the end) takes the selection, as a tree control gives it.
    refillingList = true;
    entryModel->RemoveRow(row);
    refillingList = false;
    const int count = entryModel->rowCount();
    if (count > 0) {
        treeEntryWord->selectionModel()->clearSelection();
        SelectRow(row < count ? row : count - 1);
    } else {
        ShowSelectedMemo();
    }
    UpdateStatusCount();
}

void TBroltMemoAppForm::EditTemplateItemClick() {
    TEditMemoDlg dialog(this, true, &memoDoc);
    center_over_form(this, &dialog);
    if (dialog.exec() == QDialog::Accepted) {
        try {
            memoDoc.SubmitSetTemplate(dialog.GetEntryWord(), dialog.GetContent());
        } catch (const std::exception& e) {
            ShowFailure(e);
        }
    }
}

void TBroltMemoAppForm::SelectAllItemClick() {
    memoContent->selectAll();
}

void TBroltMemoAppForm::AboutItemClick() {
    TAboutBox box(this);
    center_over_form(this, &box);
    box.exec();
}

void TBroltMemoAppForm::treeEntryWordDblClick() {
    if (SelectedRow() >= 0) {
        EditMemoWithDialog(false);
    }
}

void TBroltMemoAppForm::ShowEntryPopup(const QPoint& pos) {
    MenuClick();
    puMainMenu->popup(treeEntryWord->viewport()->mapToGlobal(pos));
}
