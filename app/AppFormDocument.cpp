#include "app/AppForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>

#include <exception>

#include "app/RecentUsedFilesMenu.h"
#include "app/Settings.h"
#include "app/UiSeam.h"
#include "app/WaitCursor.h"
#include "support/Message.h"
#include "support/PathString.h"

namespace {

const char kFileFilter[] = "テキストファイル (*.txt)|*.txt|すべて (*.*)|*.*";

std::string ToPath(const QString& name) {
    return QFile::encodeName(name).toStdString();
}
QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void ShowException(const std::exception& e) {
    ShowMessageText(QString::fromUtf8(e.what()), MB_ICONEXCLAMATION);
}

}  // namespace

void TBroltMemoAppForm::FormCreate(const QStringList& arguments) {
    recentFiles->ReadFromIni(GetIniFile());
    LoadWindowSettings();
    boundsChanged = true;
    ApplyFonts();
    AdjustStatusPanels();
    if (!arguments.isEmpty()) {
        OpenDocument(ToPath(arguments.first()));
        // Each further file opens in an instance of its own.
        const QString program = QCoreApplication::applicationFilePath();
        for (qsizetype k = 1; k < arguments.size(); ++k) {
            QString path = arguments[k];
            if (path.startsWith('-')) {
                path.prepend("./");  // a file name, not an option of the new instance
            }
            Seam().StartDetached(program, {path});
        }
    } else if (ReadOpenLastFile()) {
        const path_string last = recentFiles->FileAt(0);
        if (!last.empty()) {
            OpenDocument(last);
        }
    }
    RefreshEntryList(true);
}

void TBroltMemoAppForm::UpdateTitle() {
    const path_string name(memoDoc.FileName());
    const QString shown =
        name.empty() ? QString::fromStdString(Message(4)) : FromPath(name.file_name());
    setWindowTitle(shown + QString::fromStdString(Message(1)));
}

void TBroltMemoAppForm::NewDocument() {
    memoDoc.MakeNew();
    ClearSearch();
}

bool TBroltMemoAppForm::OpenDocument(const std::string& path) {
    bool opened = false;
    try {
        WaitCursor cursor;
        path_string resolved(path);
        resolved.resolve_disk_name();  // a missing file fails in Open below
        const std::size_t duplicates = memoDoc.Open(resolved);
        cursor.Restore();
        if (duplicates > 0) {
            ShowMessageId(20, MB_ICONINFORMATION);
        }
        recentFiles->AddFile(resolved);
        opened = true;
    } catch (const std::exception& e) {
        ShowException(e);
    }
    RefreshEntryList(true);
    return opened;
}

int TBroltMemoAppForm::SaveDocument(bool useCurrentName) {
    try {
        std::string path = memoDoc.FileName();
        if (!useCurrentName || path.empty()) {
            // The dialog keeps the name it last showed, also when cancelled.
            if (!path.empty()) {
                saveDialogName = FromPath(path);
            }
            const QString chosen = Seam().GetSaveFileName(this, saveDialogName, kFileFilter);
            if (chosen.isEmpty()) {
                return -1;
            }
            saveDialogName = chosen;
            path = ToPath(chosen);
        }
        {
            WaitCursor cursor;
            memoDoc.Save(path, !useCurrentName);
        }
        UpdateTitle();
        recentFiles->AddFile(path);
        return 1;
    } catch (const std::exception& e) {
        ShowException(e);
        return 0;
    }
}

int TBroltMemoAppForm::AskSaveChanges() {
    if (ReadSaveAlways()) {
        return IDYES;
    }
    return ShowMessageId(15, MB_YESNOCANCEL | MB_ICONQUESTION);
}

bool TBroltMemoAppForm::QuerySaveModified() {
    if (!memoDoc.GetModified()) {
        return true;
    }
    switch (AskSaveChanges()) {
        case IDYES:
            switch (SaveDocument(true)) {
                case 1:
                    return true;
                case -1:
                    return false;
                default:
                    ShowMessageId(11, MB_ICONEXCLAMATION);
                    return false;
            }
        case IDNO:
            return true;
        default:
            return false;
    }
}

void TBroltMemoAppForm::actOpenExecute() {
    if (!QuerySaveModified()) {
        return;
    }
    const QString chosen = Seam().GetOpenFileName(this, kFileFilter);
    if (!chosen.isEmpty()) {
        OpenDocument(ToPath(chosen));
    }
}

void TBroltMemoAppForm::RecentFileClick(QAction* sender) {
    if (QuerySaveModified()) {
        OpenDocument(recentFiles->FileOf(sender));
    }
}

bool TBroltMemoAppForm::FormCloseQuery() {
    if (!memoDoc.GetModified()) {
        return true;
    }
    switch (AskSaveChanges()) {
        case IDYES:
            switch (SaveDocument(true)) {
                case 1:
                    return true;
                case -1:
                    return false;
                default:
                    return ShowMessageId(16, MB_YESNO | MB_ICONQUESTION) == IDYES;
            }
        case IDNO:
            return true;
        default:
            return false;
    }
}

void TBroltMemoAppForm::ExitWithCancelItemClick() {
    if (ReadSaveAlways() || ShowMessageId(17, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        memoDoc.SetModified(false);
        close();
    }
}

void TBroltMemoAppForm::FormClose() {
    // A settings file that cannot be written is reported, but does not keep
    // the user from quitting.
    try {
        SaveWindowSettings();
        recentFiles->WriteToIni(GetIniFile());
    } catch (const std::exception& e) {
        ShowException(e);
    }
}
