#include "app/UiSeam.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QProcess>

#include "support/Message.h"
#include "support/ShellOpen.h"

namespace {

// "Text (*.txt)|*.txt|All (*.*)|*.*" -> "Text (*.txt);;All (*.*)": the
// filters are written as pairs of description and pattern; Qt shows the
// description, which already names the pattern.
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        out << parts[i];
    }
    return out.join(";;");
}

class QtUiSeam : public UiSeam {
  public:
    int MessageBox(QWidget* parent, const QString& caption, const QString& text,
                   unsigned style) override {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setTextFormat(Qt::PlainText);
        switch (style & 0xF0) {
            case MB_ICONQUESTION:
                box.setIcon(QMessageBox::Question);
                break;
            case MB_ICONEXCLAMATION:
                box.setIcon(QMessageBox::Warning);
                break;
            case MB_ICONINFORMATION:
                box.setIcon(QMessageBox::Information);
                break;
            default:
                break;
        }
        switch (style & 0x0F) {
            case MB_YESNOCANCEL:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                box.setDefaultButton(QMessageBox::Yes);
                break;
            case MB_YESNO:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                box.setDefaultButton(QMessageBox::Yes);
                break;
            default:
                box.setStandardButtons(QMessageBox::Ok);
                break;
        }
        switch (box.exec()) {
            case QMessageBox::Yes:
                return IDYES;
            case QMessageBox::No:
                return IDNO;
            case QMessageBox::Cancel:
                return IDCANCEL;
            default:
                return IDOK;
        }
    }

    QString GetOpenFileName(QWidget* parent, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), QtFilter(filter));
    }

    QString GetSaveFileName(QWidget* parent, const QString& presetPath,
                            const QString& filter) override {
        // Qt asks before overwriting and adds no extension of its own.
        return QFileDialog::getSaveFileName(parent, QString(), presetPath, QtFilter(filter));
    }

    bool ChooseFont(QWidget* parent, QFont& font) override {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, font, parent);
        if (ok) {
            font = chosen;
        }
        return ok;
    }

    void Beep() override { QApplication::beep(); }

    bool ShellOpen(QWidget* parent, const QString& target, QString* error) override {
        return shell_open(parent, target, error);
    }

    bool StartDetached(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
};

UiSeam* installed = nullptr;

}  // namespace

UiSeam& Seam() {
    static QtUiSeam qtSeam;
    return installed ? *installed : qtSeam;
}

void SetSeam(UiSeam* seam) {
    installed = seam;
}

int ShowMessageText(const QString& text, unsigned style) {
    return Seam().MessageBox(QApplication::activeWindow(), QString::fromStdString(Message(0)), text,
                             style);
}

int ShowMessageId(int id, unsigned style) {
    return ShowMessageText(QString::fromStdString(Message(id)), style);
}
