#pragma once

#include <QGuiApplication>

// Shows the hourglass for a long file operation and puts the previous
// cursor back when released or destroyed, also when an exception passes.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void Restore() {
        if (active) {
            QGuiApplication::restoreOverrideCursor();
            active = false;
        }
    }

  private:
    bool active = true;
};
