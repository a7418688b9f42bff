#pragma once

// Everything the main window and its dialogs ask of the user or the desktop
// goes through this one interface: message boxes, file and font dialogs,
// beeps, opening a string with the desktop and starting processes. The
// program uses the Qt implementation; tests install a scripted one.

#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

// Button ids returned by message boxes.
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Message-box styles: buttons and icon.
enum : unsigned {
    MB_OK = 0x00,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};

class UiSeam {
  public:
    virtual ~UiSeam() = default;

    // A modal message box captioned `caption`; returns IDOK, IDYES, IDNO or IDCANCEL.
    virtual int MessageBox(QWidget* parent, const QString& caption, const QString& text,
                           unsigned style) = 0;
    // Empty when the user cancels.
    virtual QString GetOpenFileName(QWidget* parent, const QString& filter) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const QString& presetPath,
                                    const QString& filter) = 0;
    // True with `font` changed when the user confirms.
    virtual bool ChooseFont(QWidget* parent, QFont& font) = 0;
    virtual void Beep() = 0;
    // Opens a file name, web address or mail link with the desktop. False
    // with `error` set when nothing could open it.
    virtual bool ShellOpen(QWidget* parent, const QString& target, QString* error) = 0;
    // Starts a detached process; false when it could not be started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
};

// The seam in use: the Qt one unless a test installed another.
UiSeam& Seam();
// Installs `seam` (not owned); nullptr goes back to the Qt implementation.
void SetSeam(UiSeam* seam);

// A message box captioned with message 0, with message `id` or `text`.
int ShowMessageId(int id, unsigned style);
int ShowMessageText(const QString& text, unsigned style);
