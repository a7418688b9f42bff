#include "dialogs/AboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogFont.h"

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setFont(DialogFont());
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
    setWindowTitle("バージョン情報");

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setFixedSize(32, 32);
    // Drawn at the screen's pixel density, so it stays sharp on high-DPI screens.
    ProgramIcon->setPixmap(
        QIcon(":/icons/brolteck-memo.svg").pixmap(QSize(32, 32), devicePixelRatioF()));
    auto* ProductName = new QLabel("Brolteck/Memo", Panel1);
    ProductName->setObjectName("ProductName");
    auto* Version = new QLabel("Version 2.1 Release 1", Panel1);
    Version->setObjectName("Version");
    auto* Copyright = new QLabel("Copyright © 2026 Brolteck", Panel1);
    Copyright->setObjectName("Copyright");
    auto* Comments = new QLabel("見出し語で引くメモ帳", Panel1);
    Comments->setObjectName("Comments");

    auto* panel = new QGridLayout(Panel1);
    panel->setContentsMargins(8, 10, 8, 8);
    panel->setHorizontalSpacing(11);
    panel->setVerticalSpacing(4);
    panel->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panel->addWidget(ProductName, 0, 1);
    panel->addWidget(Version, 1, 1);
    panel->setRowMinimumHeight(2, 6);
    panel->addWidget(Copyright, 3, 0, 1, 2);
    panel->addWidget(Comments, 4, 0, 1, 2);
    panel->setColumnStretch(1, 1);
    panel->setRowStretch(5, 1);

    auto* btnOk = new QPushButton("OK", this);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    btnOk->setMinimumSize(88, 24);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 4);
    layout->setSpacing(7);
    layout->addWidget(Panel1, 1);
    layout->addWidget(btnOk, 0, Qt::AlignRight);
    setFixedSize(sizeHint().expandedTo(QSize(200, 135)));
}
