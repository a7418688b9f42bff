#pragma once

// The main window with a small book open, and short ways to reach its list,
// content, actions and dialogs.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>

#include "app/EntryListModel.h"
#include "tests/ui/AppFormFixture.h"
#include "tests/ui/ModalAnswer.h"

class MainWindowTest : public AppFormTest {
  protected:
    // Opens `utf8Book` (memo file text) in a new window.
    TBroltMemoAppForm& StartWith(const std::string& utf8Book) {
        TBroltMemoAppForm& w = Start({QString::fromStdString(WriteBook("book.txt", utf8Book))});
        w.show();
        return w;
    }

    QListView* List() { return window->findChild<QListView*>("treeEntryWord"); }
    EntryListModel* Model() { return qobject_cast<EntryListModel*>(List()->model()); }
    QPlainTextEdit* Content() { return window->findChild<QPlainTextEdit*>("memoContent"); }
    QAction* Act(const char* name) { return window->findChild<QAction*>(name); }
    int Rows() { return Model()->rowCount(); }

    int RowOf(const std::string& utf8) {
        const std::size_t at = window->Document().Data().IndexOf(Cp(utf8));
        return at == BroltMemoData::npos ? -1 : static_cast<int>(at);
    }
    void Select(const std::string& utf8) { window->SelectRow(RowOf(utf8)); }
    // The selected headword as UTF-8; empty when nothing is selected.
    std::string Selected() {
        const int row = window->SelectedRow();
        return row < 0 ? "" : cp932::ToUtf8(Model()->HeadwordAt(row));
    }
    std::vector<std::string> Headwords() {
        std::vector<std::string> all;
        for (int row = 0; row < Rows(); ++row) {
            all.push_back(cp932::ToUtf8(Model()->HeadwordAt(row)));
        }
        return all;
    }

    // Runs an action or menu item as the user would: the enabled states
    // brought up to date (as at idle and when a menu opens), then triggered.
    void Run(const char* name) {
        emit window->findChild<QMenu*>("EditMenu")->aboutToShow();
        Act(name)->trigger();
    }

    // Runs `name`, answering the edit dialog it opens with `headword` and
    // `content` and OK.
    void RunEditDialog(const char* name, const QString& headword, const QString& content) {
        auto answered = AnswerNextDialog([headword, content](QDialog* dialog) {
            dialog->findChild<QLineEdit*>("edtEntryWord")->setText(headword);
            dialog->findChild<QPlainTextEdit*>("memoContent")->setPlainText(content);
            dialog->accept();
        });
        Run(name);
        EXPECT_TRUE(*answered) << "no dialog for " << name;
    }

    // Runs the find command, answering its dialog with `text` and OK.
    void Find(const QString& text) {
        auto answered = AnswerNextDialog([text](QDialog* dialog) {
            dialog->findChild<QComboBox*>("cmbFindWord")->setEditText(text);
            dialog->accept();
        });
        Run("actFind");
        EXPECT_TRUE(*answered) << "no find dialog";
    }

    // The copy command itself, as if its rule had let it run.
    void CopyPastTheRule() { window->actCopyExecute(); }

    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
};
