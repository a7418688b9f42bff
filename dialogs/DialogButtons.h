#pragma once

class QDialog;
class QPushButton;

// The OK and Cancel buttons every dialog has: 88 × 24, named btnOK and
// btnCancel; OK is the default button and accepts, Cancel (and Escape) rejects.
void MakeOkCancelButtons(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);
