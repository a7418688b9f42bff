#pragma once

// Opening a string with the desktop: a file name, a web address, a mail link.
// Qt-only; the core does not link it.

#include <QString>

#include <functional>

class QWidget;

struct ShellOpenOptions {
    // The program that hands a string to the desktop's handler. Empty: the
    // one named by $MEMO_OPENER, else xdg-open.
    QString opener;
    // Asks the user for a program to open `target` with, after the desktop's
    // handler failed with `reason`. Returns the program, possibly with
    // arguments of its own, or an empty text when the user declines. Empty
    // function: an input dialog.
    std::function<QString(QWidget* parent, const QString& target, const QString& reason)>
        chooseProgram;
    // How long to wait for the handler's verdict. One still running then has
    // started and is left to run (some stay until the program they started
    // has ended); a failing handler reports at once.
    int verdictWaitMs = 2000;
};

// Opens `target` with the desktop's handler and, when that fails, with a
// program the user chooses. The target is always one argument of an argument
// list, never seen by a shell. False, with the system's message in `error`,
// when neither opened it.
bool shell_open(QWidget* parent, const QString& target, QString* error,
                const ShellOpenOptions& options = {});

// The argument that stands for `target`: a leading "-" would be read as an
// option, so such a target becomes the relative path "./-...".
QString SafeOpenArgument(const QString& target);
