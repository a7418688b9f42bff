#include "dialogs/BmDEdit.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QValidator>

#include <exception>

#include "app/Settings.h"
#include "app/UiSeam.h"
#include "dialogs/DialogButtons.h"
#include "dialogs/DialogFont.h"
#include "dialogs/MemoText.h"
#include "memo/BroltMemoDoc.h"
#include "support/Message.h"
#include "support/TextUtil.h"

namespace {

constexpr int kDesignedWidth = 432;
constexpr int kDesignedHeight = 313;
const char* const kSizeSection = "MemoDlg";

// A headword is one line: line breaks pasted into the field become blanks,
// so nothing of the pasted text is lost and none of it splits the memo file.
class SingleLineValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input.replace(QLatin1String("\r\n"), QLatin1String(" "));
        for (QChar& c : input) {
            if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator) {
                c = u' ';
            }
        }
        return Acceptable;
    }
};

}  // namespace

TEditMemoDlg::TEditMemoDlg(QWidget* owner, bool templateMode_, const BroltMemoDoc* document_)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      document(document_),
      templateMode(templateMode_) {
    setFont(DialogFont());

    lblEntryWord = new QLabel("見出し語(&E):", this);
    lblEntryWord->setObjectName("lblEntryWord");
    edtEntryWord = new QLineEdit(this);
    edtEntryWord->setObjectName("edtEntryWord");
    edtEntryWord->setValidator(new SingleLineValidator(edtEntryWord));
    lblEntryWord->setBuddy(edtEntryWord);

    Label1 = new QLabel("内容(&O):", this);
    Label1->setObjectName("Label1");
    memoContent = new QPlainTextEdit(this);
    memoContent->setObjectName("memoContent");
    memoContent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoContent->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memoContent->setTabChangesFocus(true);
    Label1->setBuddy(memoContent);

    MakeOkCancelButtons(this, btnOK, btnCancel);

    // The designed geometry: fields full width, the content growing with the
    // window, the buttons at the bottom right.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addSpacing(2);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 5);
    layout->setSpacing(2);
    layout->addWidget(lblEntryWord);
    layout->addWidget(edtEntryWord);
    layout->addSpacing(6);
    layout->addWidget(Label1);
    layout->addWidget(memoContent, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(edtEntryWord, memoContent);
    setTabOrder(memoContent, btnOK);
    setTabOrder(btnOK, btnCancel);

    // FormCreate.
    LoadSize();
    if (templateMode) {
        for (QWidget* field :
             {static_cast<QWidget*>(edtEntryWord), static_cast<QWidget*>(memoContent)}) {
            QPalette palette = field->palette();
            palette.setColor(QPalette::Text, Qt::blue);
            field->setPalette(palette);
        }
    }
    connect(edtEntryWord, &QLineEdit::textChanged, this, &TEditMemoDlg::UpdateOkButton);
    connect(memoContent, &QPlainTextEdit::textChanged, this, &TEditMemoDlg::UpdateOkButton);
}

void TEditMemoDlg::showEvent(QShowEvent* event) {
    // Not when the window system shows it again after it was minimised.
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

void TEditMemoDlg::FormShow() {
    std::string headword;
    std::string text;
    if (!templateMode && !entryWord.empty()) {
        headword = entryWord;
        text = document->Content(entryWord);
    } else {
        // The template; a new memo starts from it too.
        headword = document->TemplateHeadword();
        text = document->TemplateContent();
    }
    // Contents from a file break lines with LF, those from this dialog with CR LF.
    replace_all("\r\n", "\n", text);
    shownHeadword = MemoToQString(headword);
    shownContent = MemoToQString(text);
    loadedHeadword = std::move(headword);
    loadedContent = std::move(text);
    edtEntryWord->setText(shownHeadword);
    memoContent->setPlainText(shownContent);
    setWindowTitle(QString::fromStdString(Message(templateMode ? 3 : 2)));
    UpdateOkButton();
    edtEntryWord->setFocus();
}

void TEditMemoDlg::UpdateOkButton() {
    btnOK->setEnabled(templateMode || !edtEntryWord->text().isEmpty() ||
                      !memoContent->document()->isEmpty());
}

void TEditMemoDlg::done(int result) {
    if (result == Accepted && !FormCloseQuery()) {
        return;
    }
    SaveSize();
    QDialog::done(result);
}

void TEditMemoDlg::Refuse(const QString& text, QWidget* field) {
    ShowMessageText(text, MB_ICONINFORMATION);
    field->setFocus();
}

bool TEditMemoDlg::FormCloseQuery() {
    // Text that CP932 cannot hold would be lost on the way to the memo book.
    // A field left as it was shown keeps its bytes exactly: a round trip
    // through Unicode would change a headword written with the other code of
    // a twin character (which then looked taken) or turn undecodable bytes
    // into a refusal.
    std::string headword = loadedHeadword;
    std::string text = loadedContent;
    cp932::Unencodable bad;
    const QString unusable =
        "メモに保存できない文字が含まれています: %1\n"
        "この文字を削除するか、別の文字に置き換えてください。";
    if (edtEntryWord->text() != shownHeadword &&
        !QStringToMemo(edtEntryWord->text(), headword, &bad)) {
        Refuse(unusable.arg(DescribeCharacter(bad.character)), edtEntryWord);
        SelectCharacter(edtEntryWord, bad);
        return false;
    }
    if (const QString shown = memoContent->toPlainText();
        shown != shownContent && !QStringToMemo(shown, text, &bad)) {
        Refuse(unusable.arg(DescribeCharacter(bad.character)), memoContent);
        SelectCharacter(memoContent, bad);
        return false;
    }

    // Empty lines separate memos in the memo file: only the last line may be
    // empty, and a final line break begins no further line. LF is never the
    // trail byte of a double-byte character.
    std::string_view lines = text;
    if (!lines.empty() && lines.back() == '\n') {
        lines.remove_suffix(1);
    }
    for (std::size_t start = 0, end; (end = lines.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        if (end == start) {
            ShowMessageId(21, MB_ICONINFORMATION);
            memoContent->setFocus();
            return false;
        }
    }

    // Without a headword the first line of the content is the headword.
    bool fromContent = false;
    if (headword.empty()) {
        const std::size_t end = text.find('\n');
        headword = text.substr(0, end);
        text.erase(0, end == std::string::npos ? end : end + 1);
        fromContent = true;
    }
    // The memo file reads a memo whose headword starts with "T>" as the template.
    if (headword.starts_with("T>")) {
        Refuse(
            "見出し語を「T>」で始めることはできません。\n"
            "メモファイルではテンプレートの印になります。",
            fromContent ? static_cast<QWidget*>(memoContent) : static_cast<QWidget*>(edtEntryWord));
        return false;
    }

    // A taken headword gets a numbered suffix; the memo being edited keeps its own.
    if (headword != entryWord && document->Exists(headword)) {
        const std::string base = headword;
        for (int n = 2; document->Exists(headword); ++n) {
            headword = base + "(" + std::to_string(n) + ")";
        }
    }

    replace_all("\n", "\r\n", text);
    entryWord = std::move(headword);
    content = std::move(text);
    return true;
}

void TEditMemoDlg::LoadSize() {
    IniFile& ini = GetIniFile();
    QSize size(ini.ReadInteger(kSizeSection, "Width", kDesignedWidth),
               ini.ReadInteger(kSizeSection, "Height", kDesignedHeight));
    // A stored size from another screen must not hide the buttons.
    size = size.expandedTo(minimumSizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    resize(size);
}

void TEditMemoDlg::SaveSize() {
    try {
        IniFile& ini = GetIniFile();
        ini.WriteInteger(kSizeSection, "Width", width());
        ini.WriteInteger(kSizeSection, "Height", height());
    } catch (const std::exception&) {
        // Only the size is lost; the memo being entered must not be.
    }
}
