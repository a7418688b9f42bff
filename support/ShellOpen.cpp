#include "support/ShellOpen.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QProcess>
#include <QScopeGuard>

#include <cerrno>
#include <system_error>

#include "support/Message.h"

namespace {

QString SystemMessage(int code) {
    return QString::fromStdString(std::system_category().message(code));
}

// Runs `program` with `arguments`, no shell between, and waits for its verdict.
bool RunOpener(const QString& program, const QStringList& arguments, int waitMs, QString* error) {
    // Deleted when it ends; one that outlives the wait must not be killed.
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    // The wait is short, but the user should see that something is happening.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    process->start();
    if (!process->waitForStarted()) {
        // QProcess reports only "No such file or directory" style texts here.
        *error = program + ": " + process->errorString();
        delete process;
        return false;
    }
    if (!process->waitForFinished(waitMs) && process->state() == QProcess::Running) {
        // The handler is at work; the process object goes when it ends.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    const QString messages = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    if (!ok) {
        if (!messages.isEmpty()) {
            *error = messages;
        } else if (process->exitStatus() == QProcess::NormalExit) {
            *error = QString("%1: 終了コード %2").arg(program).arg(process->exitCode());
        } else {
            *error = program + ": " + process->errorString();
        }
    }
    delete process;
    return ok;
}

QString AskForProgram(QWidget* parent, const QString& target, const QString& reason) {
    const QString shown = target.size() > 200 ? target.left(200) + "…" : target;
    return QInputDialog::getText(parent, QString::fromStdString(Message(0)),
                                 QString("「%1」を開けませんでした。\n%2\n\n"
                                         "開くプログラムの名前かパスを入力してください:")
                                     .arg(shown, reason))
        .trimmed();
}

// Starts the program the user chose, with the target as its last argument.
bool StartChosen(const QString& command, const QString& argument, QString* error) {
    QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty()) {
        *error = SystemMessage(ENOENT);
        return false;
    }
    QProcess process;
    process.setProgram(arguments.takeFirst());
    process.setArguments(arguments << argument);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        *error = process.program() + ": " + process.errorString();
        return false;
    }
    return true;
}

}  // namespace

QString SafeOpenArgument(const QString& target) {
    return target.startsWith('-') ? "./" + target : target;
}

bool shell_open(QWidget* parent, const QString& target, QString* error,
                const ShellOpenOptions& options) {
    QString opener = options.opener;
    if (opener.isEmpty()) {
        opener = qEnvironmentVariable("MEMO_OPENER", "xdg-open");
    }
    const QString argument = SafeOpenArgument(target);
    QString reason;
    if (RunOpener(opener, {argument}, options.verdictWaitMs, &reason)) {
        return true;
    }
    // The desktop's handler failed: let the user choose a program for it.
    const QString chosen = options.chooseProgram ? options.chooseProgram(parent, target, reason)
                                                 : AskForProgram(parent, target, reason);
    if (!chosen.isEmpty()) {
        QString startError;
        if (StartChosen(chosen, argument, &startError)) {
            return true;
        }
        reason += "\n" + startError;
    }
    if (error) {
        *error = reason;
    }
    return false;
}
