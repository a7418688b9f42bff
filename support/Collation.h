#pragma once

// Headword collation: ICU's collator for the user's collation locale at
// identical strength, so that only texts with the same characters are one
// headword (か, カ, ｶ, Ａ and A are five).

#include <string>
#include <string_view>

// The ICU locale of the user's collation order, taken from LC_ALL, then
// LC_COLLATE, then LANG ("ja_JP.UTF-8" -> "ja_JP"); empty for the root order.
std::string CollationLocaleName();

// The collation sort key of a CP932 text. Two texts are the same headword
// exactly when their keys are equal; keys compare as bytes. Text holding bytes
// that are not valid CP932 gets those bytes appended behind the collator's
// key, so two such texts are equal only when their bytes are.
std::string CollationKey(std::string_view cp932Text);

// Appends the key to `out` (avoids a temporary on hot paths).
void AppendCollationKey(std::string_view cp932Text, std::string& out);

struct UCollator;

// Makes the keys of AppendCollationKey on another thread: it holds a copy of
// the collator of the thread that created it, so both give equal keys. Use
// it on one thread at a time.
class CollationKeyMaker {
  public:
    CollationKeyMaker();
    ~CollationKeyMaker();
    CollationKeyMaker(const CollationKeyMaker&) = delete;
    CollationKeyMaker& operator=(const CollationKeyMaker&) = delete;

    void Append(std::string_view cp932Text, std::string& out);

  private:
    UCollator* collator;
    std::u16string buffer;
};

// True when `a` collates strictly before `b`. Computes both keys: use keys
// directly where texts are compared more than once.
struct less_strcoll {
    bool operator()(std::string_view a, std::string_view b) const;
};
