#include "dialogs/MemoText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

int CharacterLength(char32_t c) {
    return c > 0xFFFF ? 2 : 1;
}

}  // namespace

QString MemoToQString(std::string_view text) {
    return QString::fromStdU16String(cp932::ToUtf16(text));
}

bool QStringToMemo(const QString& text, std::string& out, cp932::Unencodable* bad) {
    const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    if (!cp932::FromUtf16(utf16, out, bad)) {
        return false;
    }
    if (const auto sub = utf16.find(u'\x1A'); sub != std::u16string_view::npos) {
        if (bad) {
            *bad = {U'\x1A', sub};
        }
        return false;
    }
    return true;
}

QString DescribeCharacter(char32_t c) {
    return QString::fromStdString(cp932::DescribeCharacter(c));
}

void SelectCharacter(QLineEdit* edit, const cp932::Unencodable& bad) {
    edit->setSelection(static_cast<int>(bad.offset), CharacterLength(bad.character));
}

void SelectCharacter(QPlainTextEdit* edit, const cp932::Unencodable& bad) {
    // The document counts a line break as one position, as the plain text does.
    QTextCursor cursor(edit->document());
    cursor.setPosition(static_cast<int>(bad.offset));
    cursor.setPosition(static_cast<int>(bad.offset) + CharacterLength(bad.character),
                       QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}
