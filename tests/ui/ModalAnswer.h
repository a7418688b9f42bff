#pragma once

// Answers the next modal dialog a command opens: once it shows, `answer`
// runs with it (fill its fields, then accept or reject it).

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

// The flag it returns tells whether a dialog came.
inline std::shared_ptr<bool> AnswerNextDialog(std::function<void(QDialog*)> answer) {
    auto answered = std::make_shared<bool>(false);
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, answer, answered] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        // Bounded: a command that opens no dialog must not leave this behind.
        if (dialog || ++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            if (dialog) {
                *answered = true;
                answer(dialog);
            }
        }
    });
    timer->start(0);
    return answered;
}
