#pragma once

// Memo texts (CP932 byte strings) to and from the Unicode of the widgets,
// always through the program's one codec.

#include <QString>

#include <string>
#include <string_view>

#include "support/Cp932.h"

// Bytes that are not valid CP932 show as U+FFFD.
QString MemoToQString(std::string_view text);

// False when `text` holds a character a memo cannot keep: one that CP932
// cannot hold, or U+001A, whose byte ends a memo file on reading. `bad`
// then names the first such character; `out` is unspecified.
bool QStringToMemo(const QString& text, std::string& out, cp932::Unencodable* bad);

// "U+1F600 (😀)": how a refusal names the character.
QString DescribeCharacter(char32_t c);

class QLineEdit;
class QPlainTextEdit;
// Selects the character at `offset` (UTF-16 code units) so the user sees what
// was refused.
void SelectCharacter(QLineEdit* edit, const cp932::Unencodable& bad);
void SelectCharacter(QPlainTextEdit* edit, const cp932::Unencodable& bad);
