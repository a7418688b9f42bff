#include "support/CenterOverForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void center_over_form(const QWidget* mainWindow, QWidget* dialog) {
    // A dialog not yet shown has not been given its size; give it now, as
    // showing it would.
    dialog->ensurePolished();
    if (!dialog->testAttribute(Qt::WA_Resized)) {
        dialog->adjustSize();
    }
    const QRect main = mainWindow->frameGeometry();
    const QSize size = dialog->frameGeometry().size();
    // The whole primary display, not the work area beside panels.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    int left = main.left() + (main.width() - size.width()) / 2;
    int top = main.top() + (main.height() - size.height()) / 2;
    if (left + size.width() > screen.right() + 1) {
        left = screen.right() + 1 - size.width();
    }
    if (top + size.height() > screen.bottom() + 1) {
        top = screen.bottom() + 1 - size.height();
    }
    if (left < screen.left()) {
        left = screen.left();
    }
    if (top < screen.top()) {
        top = screen.top();
    }
    dialog->move(left, top);
}
