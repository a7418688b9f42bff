#include "dialogs/BmDSttng.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <iterator>

#include "app/Settings.h"
#include "app/UiSeam.h"
#include "dialogs/DialogButtons.h"
#include "dialogs/DialogFont.h"

TSettingDlg::TSettingDlg(QWidget* owner) : QDialog(owner), dlgFont(DialogFont()) {
    setObjectName("SettingDlg");
    setWindowTitle("設定");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(381, 300);

    auto* grpShow = new QGroupBox("フォント", this);
    grpShow->setGeometry(8, 8, 365, 153);
    auto* label1 = new QLabel("項目(&I):", grpShow);
    label1->setGeometry(8, 24, 54, 16);
    cmbFontItem = new QComboBox(grpShow);
    cmbFontItem->setObjectName("cmbFontItem");
    cmbFontItem->setGeometry(64, 20, 197, 22);
    cmbFontItem->addItems({"見出し", "内容"});
    label1->setBuddy(cmbFontItem);
    btnEditFont = new QPushButton("設定(&S)...", grpShow);
    btnEditFont->setObjectName("btnEditFont");
    btnEditFont->setGeometry(268, 18, 88, 24);
    btnEditFont->setAutoDefault(false);
    auto* label2 = new QLabel("サンプル:", grpShow);
    label2->setGeometry(8, 52, 100, 16);
    auto* bevel1 = new QFrame(grpShow);
    bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel1->setGeometry(8, 68, 349, 75);
    lblFontSample = new QLabel("のフォント", grpShow);
    lblFontSample->setObjectName("lblFontSample");
    lblFontSample->setGeometry(12, 74, 341, 65);
    lblFontSample->setAlignment(Qt::AlignCenter);
    lblFontSample->setTextFormat(Qt::PlainText);
    lblFontSample->setFont(DialogFont());

    auto* grpRun = new QGroupBox("起動", this);
    grpRun->setGeometry(8, 166, 365, 47);
    chkOpenLastFile = new QCheckBox("最後に開いていたファイルを開く(&O)", grpRun);
    chkOpenLastFile->setObjectName("chkOpenLastFile");
    chkOpenLastFile->setGeometry(8, 20, 345, 20);

    auto* grpSave = new QGroupBox("保存", this);
    grpSave->setGeometry(8, 218, 365, 47);
    chkSaveAlways = new QCheckBox("変更は問いあわせずに保存する(&C)", grpSave);
    chkSaveAlways->setObjectName("chkSaveAlways");
    chkSaveAlways->setGeometry(8, 20, 345, 20);

    MakeOkCancelButtons(this, btnOK, btnCancel);
    btnOK->setGeometry(188, 270, 88, 24);
    btnCancel->setGeometry(284, 270, 88, 24);

    QWidget* order[] = {cmbFontItem, btnEditFont, chkOpenLastFile, chkSaveAlways, btnOK, btnCancel};
    for (std::size_t k = 0; k + 1 < std::size(order); ++k) {
        setTabOrder(order[k], order[k + 1]);
    }

    cmbFontItem->setCurrentIndex(0);
    fontDescriptors = QStringList(cmbFontItem->count(), QString());
    sampleSuffix = lblFontSample->text();
    connect(cmbFontItem, &QComboBox::currentIndexChanged, this, [this] { UpdateSample(); });
    connect(btnEditFont, &QPushButton::clicked, this, [this] { btnEditFontClick(); });
}

void TSettingDlg::SetFontDescriptor(int index, const QString& descriptor) {
    if (index >= 0 && index < fontDescriptors.size()) {
        fontDescriptors[index] = descriptor;
    }
}

void TSettingDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UpdateSample();
}

void TSettingDlg::UpdateSample() {
    const int item = cmbFontItem->currentIndex();
    lblFontSample->setText(cmbFontItem->currentText() + sampleSuffix);
    const QString descriptor = GetFontDescriptor(item);
    if (!descriptor.isEmpty()) {
        QFont sample = lblFontSample->font();
        StringToFont(descriptor, sample);
        lblFontSample->setFont(sample);
    }
}

void TSettingDlg::btnEditFontClick() {
    const int item = cmbFontItem->currentIndex();
    if (!GetFontDescriptor(item).isEmpty()) {
        StringToFont(GetFontDescriptor(item), dlgFont);
    }
    QFont chosen = dlgFont;
    if (!Seam().ChooseFont(this, chosen)) {
        return;
    }
    dlgFont = chosen;
    SetFontDescriptor(item, FontToString(chosen));
    UpdateSample();
}
