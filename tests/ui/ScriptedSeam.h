#pragma once

// The seam as a test answers it: scripted answers for every question the
// window asks, and a record of what it showed and started.

#include <gtest/gtest.h>

#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "app/UiSeam.h"

class ScriptedSeam : public UiSeam {
  public:
    struct Shown {
        QString text;
        unsigned style;
    };

    ScriptedSeam() { SetSeam(this); }
    ~ScriptedSeam() override { SetSeam(nullptr); }

    int MessageBox(QWidget*, const QString&, const QString& text, unsigned style) override {
        shown.push_back({text, style});
        if ((style & 0x0F) == MB_OK) {
            return IDOK;
        }
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return IDCANCEL;
        }
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString GetOpenFileName(QWidget*, const QString&) override { return Next(openNames); }

    QString GetSaveFileName(QWidget*, const QString& presetPath, const QString&) override {
        savePresets << presetPath;
        return Next(saveNames);
    }

    bool ChooseFont(QWidget*, QFont& font) override {
        fontDialogStart.push_back(font);
        if (fonts.empty() || !fonts.front()) {
            if (!fonts.empty()) {
                fonts.pop_front();
            }
            return false;
        }
        font = *fonts.front();
        fonts.pop_front();
        return true;
    }

    void Beep() override { ++beeps; }

    bool ShellOpen(QWidget*, const QString& target, QString* error) override {
        opened << target;
        if (!openError.isEmpty()) {
            *error = openError;
            return false;
        }
        return true;
    }

    bool StartDetached(const QString& program, const QStringList& arguments) override {
        started.emplace_back(program, arguments);
        return true;
    }

    // Forgets what was shown and drops unused answers.
    void Reset() {
        shown.clear();
        answers.clear();
        openNames.clear();
        saveNames.clear();
        savePresets.clear();
        started.clear();
    }

    // The texts shown, in order.
    QStringList Texts() const {
        QStringList texts;
        for (const Shown& s : shown) {
            texts << s.text;
        }
        return texts;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
    std::deque<QString> openNames;  // an empty name cancels
    std::deque<QString> saveNames;
    QStringList savePresets;
    std::deque<std::optional<QFont>> fonts;  // nullopt cancels
    std::vector<QFont> fontDialogStart;
    std::vector<std::pair<QString, QStringList>> started;
    int beeps = 0;
    QStringList opened;  // targets handed to the desktop
    QString openError;   // when set, opening fails with it

  private:
    static QString Next(std::deque<QString>& names) {
        if (names.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return {};
        }
        QString name = names.front();
        names.pop_front();
        return name;
    }
};
