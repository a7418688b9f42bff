#pragma once

// The seam answered by script: records every message box and answers OK.
// The dialogs ask the user nothing else.

#include <QString>

#include <vector>

#include "app/UiSeam.h"

class DialogSeam : public UiSeam {
  public:
    struct Shown {
        QString text;
        unsigned style;
    };

    DialogSeam() { SetSeam(this); }
    ~DialogSeam() override { SetSeam(nullptr); }

    int MessageBox(QWidget*, const QString&, const QString& text, unsigned style) override {
        messages.push_back({text, style});
        return IDOK;
    }
    QString GetOpenFileName(QWidget*, const QString&) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    bool ChooseFont(QWidget*, QFont&) override { return false; }
    void Beep() override {}
    bool ShellOpen(QWidget*, const QString&, QString*) override { return false; }
    bool StartDetached(const QString&, const QStringList&) override { return false; }

    std::vector<Shown> messages;
};
