#pragma once

#include <QDialog>
#include <QStringList>

#include <string>

class QComboBox;
class QLabel;
class QPushButton;

// Asks for the string to search for in all memos, offering the strings
// searched for earlier in this run of the program.
class TFindDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TFindDlg(QWidget* owner);

    // After OK: the search string, CP932.
    const std::string& GetFindWord() const { return findWord; }

    // Closing with OK refuses an empty string; every close records the text
    // in the history.
    void done(int result) override;

    // The strings of this run, oldest first, newest last, each once. Kept
    // for the whole run, never written anywhere.
    static const QStringList& History();

  private:
    QLabel* Label1;
    QComboBox* cmbFindWord;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    std::string findWord;
};
