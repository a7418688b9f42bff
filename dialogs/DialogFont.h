#pragma once

#include <QFont>

// The dialogs' designed font: "ＭＳ Ｐゴシック", 12 pixels. The program maps the
// name to an installed Japanese font at start.
QFont DialogFont();
