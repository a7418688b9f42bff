#include "dialogs/BmDFind.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/UiSeam.h"
#include "dialogs/DialogButtons.h"
#include "dialogs/DialogFont.h"
#include "dialogs/MemoText.h"

namespace {

constexpr int kDesignedWidth = 312;
constexpr int kDesignedHeight = 74;

QStringList& FindHistory() {
    static QStringList history;
    return history;
}

}  // namespace

const QStringList& TFindDlg::History() {
    return FindHistory();
}

TFindDlg::TFindDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setFont(DialogFont());
    setWindowTitle("検索");

    Label1 = new QLabel("検索文字列(&W):", this);
    Label1->setObjectName("Label1");
    cmbFindWord = new QComboBox(this);
    cmbFindWord->setObjectName("cmbFindWord");
    cmbFindWord->setEditable(true);
    // The history is kept here, not by the combo box; and no completion, so
    // the string searched for is exactly the one typed.
    cmbFindWord->setInsertPolicy(QComboBox::NoInsert);
    cmbFindWord->setCompleter(nullptr);
    cmbFindWord->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbFindWord->setMinimumContentsLength(8);
    cmbFindWord->setMinimumWidth(209);
    Label1->setBuddy(cmbFindWord);

    MakeOkCancelButtons(this, btnOK, btnCancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 14, 8, 6);
    layout->setVerticalSpacing(6);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(cmbFindWord, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addSpacing(2);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons, 1, 0, 1, 2);
    setTabOrder(cmbFindWord, btnOK);
    setTabOrder(btnOK, btnCancel);
    setFixedSize(sizeHint().expandedTo(QSize(kDesignedWidth, kDesignedHeight)));

    // FormCreate: the most recent search first, the edit field empty.
    const QStringList& history = FindHistory();
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        cmbFindWord->addItem(*it);
    }
    cmbFindWord->setCurrentIndex(-1);
    cmbFindWord->clearEditText();
    cmbFindWord->setFocus();
}

void TFindDlg::done(int result) {
    const QString text = cmbFindWord->currentText();
    if (result == Accepted) {
        if (text.isEmpty()) {
            ShowMessageId(21, MB_ICONINFORMATION);
            cmbFindWord->setFocus();
            return;
        }
        // A character CP932 cannot hold cannot be in any memo.
        cp932::Unencodable bad;
        if (!QStringToMemo(text, findWord, &bad)) {
            ShowMessageText(QString("検索文字列に使えない文字が含まれています: %1\n"
                                    "この文字を削除するか、別の文字に置き換えてください。")
                                .arg(DescribeCharacter(bad.character)),
                            MB_ICONINFORMATION);
            cmbFindWord->setFocus();
            SelectCharacter(cmbFindWord->lineEdit(), bad);
            return;
        }
    }
    // FormClose: every close records the text, also an empty one.
    QStringList& history = FindHistory();
    history.removeAll(text);
    history.append(text);
    QDialog::done(result);
}
