#pragma once

class QApplication;

// False, with a note on standard error, when there is no display to show a
// window on (QApplication would abort there).
bool DisplayAvailable();
// Japanese fonts for the design font's names, Qt's own texts in Japanese,
// and the application's names.
void SetUpApplication(QApplication& app);
