#include "app/Startup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

bool DisplayAvailable() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    // An explicit platform (offscreen, vnc, ...) needs no display server.
    if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) {
        return true;
    }
    std::fputs(
        "brolteck-memo: ウィンドウを表示できるディスプレイがありません。\n"
        "brolteck-memo: no display found. Start it in a desktop session, or without one under\n"
        "  xvfb-run brolteck-memo [FILE...]\n",
        stderr);
    return false;
}

void SetUpApplication(QApplication& app) {
    // The design font and the other common Windows Japanese faces are kept by
    // name (settings files stay portable) and drawn with a Japanese font
    // installed here; left alone, Qt picks a Latin font and mixes glyphs.
    const QStringList japanese = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"};
    for (const char* face : {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ ＵＩ Ｇｏｔｈｉｃ",
                             "MS PGothic", "MS Gothic", "MS UI Gothic", "メイリオ", "Meiryo",
                             "Meiryo UI", "Yu Gothic", "Yu Gothic UI", "游ゴシック"}) {
        QFont::insertSubstitutions(QString::fromUtf8(face), japanese);
    }
    QFont::insertSubstitutions("ＭＳ Ｐ明朝", {"IPAPMincho", "IPAMincho", "Noto Serif CJK JP"});
    QFont::insertSubstitutions("ＭＳ 明朝", {"IPAMincho", "Noto Serif CJK JP"});
    QApplication::setFont(QFont("ＭＳ Ｐゴシック", 9));

    // Qt's own buttons and dialogs in Japanese, like the rest of the program.
    auto* translator = new QTranslator(&app);
    if (translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }

    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName("brolteck-memo");
    QApplication::setDesktopFileName("brolteck-memo");
    QApplication::setWindowIcon(QIcon(":/icons/brolteck-memo.svg"));
}
