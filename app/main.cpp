#include <csignal>

#include <QApplication>

#include "app/AppForm.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        return 1;
    }
    // A save beyond the file-size limit must fail with a message, not end
    // the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    SetUpApplication(app);
    TBroltMemoAppForm window;
    window.FormCreate(QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
