#include "dialogs/DialogButtons.h"

#include <QDialog>
#include <QPushButton>

void MakeOkCancelButtons(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton("OK", dialog);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    ok->setMinimumSize(88, 24);
    cancel = new QPushButton("キャンセル", dialog);
    cancel->setObjectName("btnCancel");
    cancel->setAutoDefault(false);
    cancel->setMinimumSize(88, 24);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}
