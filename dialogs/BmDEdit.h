#pragma once

#include <QDialog>

#include <string>

class BroltMemoDoc;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

// The modal dialog in which the user enters a memo's headword and content:
// adding a memo, editing one, or editing the template. It only collects and
// checks the text; the caller makes the change through the document.
class TEditMemoDlg : public QDialog {
    Q_OBJECT

  public:
    // `document` is consulted for the prefill and for unique headwords; not owned.
    TEditMemoDlg(QWidget* owner, bool templateMode, const BroltMemoDoc* document);

    // Before showing: the headword of the memo to edit (it must exist).
    void SetEntryWord(std::string headword) { entryWord = std::move(headword); }
    // After OK: the headword and the content (lines separated by CR LF), CP932.
    const std::string& GetEntryWord() const { return entryWord; }
    const std::string& GetContent() const { return content; }

    // Closing with OK first checks the entry and may refuse; every close
    // stores the dialog's size.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    bool FormCloseQuery();
    void LoadSize();
    void SaveSize();
    void UpdateOkButton();
    // A refusal: the message, then the focus on the field to mend.
    void Refuse(const QString& text, QWidget* field);

    QLabel* lblEntryWord;
    QLineEdit* edtEntryWord;
    QLabel* Label1;
    QPlainTextEdit* memoContent;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    const BroltMemoDoc* document;
    bool templateMode;
    std::string entryWord;
    std::string content;
    // What FormShow put into the fields, as bytes and as shown.
    std::string loadedHeadword;
    std::string loadedContent;
    QString shownHeadword;
    QString shownContent;
};
