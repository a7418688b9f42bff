#pragma once

#include <QDialog>

// The product name, the version and two notice lines.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* owner);
};
