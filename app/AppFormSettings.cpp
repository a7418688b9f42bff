#include "app/AppForm.h"

#include <QCheckBox>
#include <QListView>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <climits>

#include "app/Settings.h"
#include "app/UiSeam.h"
#include "dialogs/BmDSttng.h"
#include "support/CenterOverForm.h"

namespace {
const char kWindow[] = "Window";

std::string FontKey(int index) {
    return "Font" + std::to_string(index);
}
}  // namespace

QString TBroltMemoAppForm::ReadFontSetting(int index) const {
    const std::string value =
        GetIniFile().ReadString(kWindow, FontKey(index), FontToString(font()).toStdString());
    return QString::fromStdString(value);
}

void TBroltMemoAppForm::RecordNormalBounds() {
    const QRect outer = frameGeometry();
    normalBounds = {outer.left(), outer.top(), outer.left() + outer.width(),
                    outer.top() + outer.height()};
}

void TBroltMemoAppForm::LoadWindowSettings() {
    const IniFile& ini = GetIniFile();
    // Where no number is stored the desktop places the window.
    constexpr int kNone = INT_MIN;
    const QRect outer = frameGeometry();
    const int left = ini.ReadInteger(kWindow, "Left", kNone);
    const int top = ini.ReadInteger(kWindow, "Top", kNone);
    if (left != kNone || top != kNone) {
        move(left != kNone ? left : outer.left(), top != kNone ? top : outer.top());
    }
    // Width and Height are outer sizes; the frame's share is what the window
    // adds around its client area.
    const int width = ini.ReadInteger(kWindow, "Width", kNone);
    const int height = ini.ReadInteger(kWindow, "Height", kNone);
    if (width != kNone || height != kNone) {
        const QSize size(width != kNone ? width : outer.width(),
                         height != kNone ? height : outer.height());
        const QSize frame = outer.size() - geometry().size();
        resize((size - frame).expandedTo(QSize(1, 1)));
        if (frame.isNull()) {
            pendingOuterSize = size;
        }
    }

    const int client = geometry().width();
    const int list = std::clamp(ini.ReadInteger(kWindow, "EntryWordWidth", client / 3), 16,
                                std::max(16, client - 16 - spltEntry->handleWidth()));
    spltEntry->setSizes({list, std::max(16, client - list - spltEntry->handleWidth())});
    RecordNormalBounds();

    tbBasic->setVisible(ini.ReadBool(kWindow, "ShowBasicToolBar", !tbBasic->isHidden()));
    statusBar()->setVisible(ini.ReadBool(kWindow, "ShowStatusBar", !statusBar()->isHidden()));

    const std::string state = ini.ReadString(kWindow, "WindowState", "Normal");
    if (state == "Maximized") {
        setWindowState(Qt::WindowMaximized);
    } else if (state == "Minimized") {
        // Restoring shows the window maximized or normal, as it was.
        const bool maximized = ini.ReadBool(kWindow, "RestoreMaximize", false);
        setWindowState(Qt::WindowMinimized | (maximized ? Qt::WindowMaximized : Qt::WindowNoState));
        appMinimized = true;
    } else {
        setWindowState(Qt::WindowNoState);
    }
}

void TBroltMemoAppForm::SaveWindowSettings() {
    IniFile& ini = GetIniFile();
    const Qt::WindowStates state = windowState();
    if (appMinimized) {
        ini.WriteString(kWindow, "WindowState", "Minimized");
    } else if (state & Qt::WindowMaximized) {
        ini.WriteString(kWindow, "WindowState", "Maximized");
    } else if (!(state & Qt::WindowFullScreen)) {
        ini.WriteString(kWindow, "WindowState", "Normal");
    }
    ini.WriteBool(kWindow, "RestoreMaximize", state & Qt::WindowMaximized);
    ini.WriteInteger(kWindow, "Left", normalBounds.left);
    ini.WriteInteger(kWindow, "Top", normalBounds.top);
    ini.WriteInteger(kWindow, "Width", normalBounds.right - normalBounds.left);
    ini.WriteInteger(kWindow, "Height", normalBounds.bottom - normalBounds.top);
    ini.WriteInteger(kWindow, "EntryWordWidth", treeEntryWord->width());
    ini.WriteBool(kWindow, "ShowBasicToolBar", !tbBasic->isHidden());
    ini.WriteBool(kWindow, "ShowStatusBar", !statusBar()->isHidden());
}

void TBroltMemoAppForm::AppIdle() {
    if (pendingOuterSize.isValid() && isVisible() && windowState() == Qt::WindowNoState) {
        const QSize frame = frameGeometry().size() - geometry().size();
        if (!frame.isNull()) {
            resize((pendingOuterSize - frame).expandedTo(QSize(1, 1)));
            pendingOuterSize = QSize();
        }
    }
    if (boundsChanged) {
        if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) &&
            !appMinimized) {
            RecordNormalBounds();
        }
        boundsChanged = false;
    }
}

void TBroltMemoAppForm::AppMinimize() {
    appMinimized = true;
    boundsChanged = true;
}

void TBroltMemoAppForm::AppRestore() {
    boundsChanged = true;
    appMinimized = false;
}

void TBroltMemoAppForm::SettingItemClick() {
    TSettingDlg dialog(this);
    for (int index = 0; index < 2; ++index) {
        dialog.SetFontDescriptor(index, ReadFontSetting(index));
    }
    dialog.chkOpenLastFile->setChecked(ReadOpenLastFile());
    dialog.chkSaveAlways->setChecked(ReadSaveAlways());
    center_over_form(this, &dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    try {
        IniFile& ini = GetIniFile();
        for (int index = 0; index < 2; ++index) {
            ini.WriteString(kWindow, FontKey(index), dialog.GetFontDescriptor(index).toStdString());
        }
        ini.WriteBool("Operation", "OpenLastFile", dialog.chkOpenLastFile->isChecked());
        ini.WriteBool("Operation", "SaveAlways", dialog.chkSaveAlways->isChecked());
        ApplyFonts();
    } catch (const IniFile::Error& e) {
        ShowMessageText(QString::fromUtf8(e.what()), MB_ICONEXCLAMATION);
    }
}
