#pragma once

// The settings dialog: the fonts of the headword and the content, and the
// two operation options. It works on copies that the caller puts in before
// showing it and takes out after OK; it never touches the settings file.

#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class TSettingDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TSettingDlg(QWidget* owner);

    // Index 0 is the headword font, 1 the content font ("face,points,bold,italic").
    QString GetFontDescriptor(int index) const { return fontDescriptors.value(index); }
    void SetFontDescriptor(int index, const QString& descriptor);

    QComboBox* cmbFontItem = nullptr;
    QPushButton* btnEditFont = nullptr;
    QLabel* lblFontSample = nullptr;
    QCheckBox* chkOpenLastFile = nullptr;
    QCheckBox* chkSaveAlways = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void UpdateSample();
    void btnEditFontClick();

    QString sampleSuffix;
    QStringList fontDescriptors;
    QFont dlgFont;  // the font dialog starts from the font it had last
};
