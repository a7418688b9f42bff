#include "dialogs/DialogFont.h"

QFont DialogFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    return font;
}
