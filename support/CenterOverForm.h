#pragma once

// Qt-only helper (compiled into the ui library, not the core).

class QWidget;

// Places `dialog` centred over `mainWindow` and inside the primary screen;
// a dialog larger than the screen ends at the screen's top-left corner.
void center_over_form(const QWidget* mainWindow, QWidget* dialog);
