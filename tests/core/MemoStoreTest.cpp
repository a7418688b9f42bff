#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "memo/BroltMemoData.h"

namespace {

using List = std::vector<std::string>;

List Headwords(const BroltMemoData& data) {
    List list;
    data.FindMemos("", list);
    return list;
}

TEST(MemoStore, SetEraseAndLookUp) {
    BroltMemoData data;
    data.SetMemo(Sj("きつね"), "fox\n");
    data.SetMemo("Banana", "yellow\n");
    data.SetMemo(Sj("カレー"), "curry\n");
    data.SetMemo("apple", "red\n");
    EXPECT_EQ(Headwords(data), (List{"apple", "Banana", Sj("カレー"), Sj("きつね")}));

    data.SetMemo("apple", "green\n");  // replaces, adds nothing
    EXPECT_EQ(data.Count(), 4u);
    EXPECT_EQ(data.Content("apple"), "green\n");
    EXPECT_FALSE(data.Exists("Apple"));  // case makes another headword

    // A collation-equal spelling reaches the stored memo; its bytes stay.
    data.SetMemo("\xED\x40", "first\n");
    data.SetMemo("\xFA\x5C", "second\n");
    EXPECT_EQ(data.Count(), 5u);
    EXPECT_EQ(data.HeadwordAt(4), "\xED\x40");
    EXPECT_EQ(data.Content("\xED\x40"), "second\n");

    EXPECT_EQ(data.EraseMemo("\xFA\x5C"), 1u);
    EXPECT_EQ(data.EraseMemo("\xFA\x5C"), 0u);
    EXPECT_EQ(data.EraseMemo("nothing"), 0u);
    EXPECT_FALSE(data.Exists("\xED\x40"));
    EXPECT_EQ(data.Content("nothing"), "");
    EXPECT_EQ(data.Count(), 4u);

    data.SetTemplate("T", "t\n");
    data.Clear();
    EXPECT_EQ(data.Count(), 0u);
    EXPECT_EQ(data.TemplateHeadword(), "");
    EXPECT_EQ(data.TemplateContent(), "");
}

// ア is 83 41 and ャ is 83 83: trail bytes that look like 'A' or a lead byte.
// 予 is 97 5C and ソ is 83 5C: trail bytes that look like a backslash.
class FindMemos : public ::testing::Test {
  protected:
    void SetUp() override {
        data.SetMemo("alpha", Sj("アイス\nA+B\n"));  // 'A' only in the content
        data.SetMemo("Apple", "red\n");              // 'A' in the headword
        data.SetMemo("Asia", "Asia\n");              // in both: listed once
        data.SetMemo(Sj("アメ"), Sj("ソース\n"));    // 'A' and '\' only as trail bytes
        data.SetMemo(Sj("予定"), Sj("ャA\n"));       // 'A' right after a double-byte char
        data.SetMemo(Sj("ｱA"), "\\\n");              // half-width ｱ is one byte
        data.SetMemo(Sj("メモ"), Sj("アA"));         // a false hit, then a real one
    }

    List Find(const std::string& text, List list = {}) {
        bool found = data.FindMemos(text, list);
        EXPECT_EQ(found, !list.empty()) << text;
        return list;
    }

    BroltMemoData data;
};

TEST_F(FindMemos, MatchesOnlyAtCharacterBoundaries) {
    struct Case {
        std::string text;
        List hits;
    };
    const Case cases[] = {
        {"A", {"Apple", "alpha", "Asia", Sj("ｱA"), Sj("メモ"), Sj("予定")}},
        {"\\", {Sj("ｱA")}},
        {"a", {"alpha", "Asia"}},  // case counts
        {"\x41\x83", {}},          // ア's trail byte and the next lead byte
        {Sj("ア"), {"alpha", Sj("アメ"), Sj("メモ")}},
        {Sj("ｱ"), {Sj("ｱA")}},
        {"\x5C\x92", {}},  // 予's trail byte and 定's lead byte
        {"nowhere", {}},
    };
    const List all = Headwords(data);
    for (const Case& c : cases) {
        // Hits come in store order: check against the order of the full list.
        List expected;
        for (const std::string& h : all) {
            if (std::find(c.hits.begin(), c.hits.end(), h) != c.hits.end()) {
                expected.push_back(h);
            }
        }
        ASSERT_EQ(expected.size(), c.hits.size()) << c.text;
        EXPECT_EQ(Find(c.text), expected) << c.text;
    }
}

TEST_F(FindMemos, AppendsToTheGivenList) {
    EXPECT_EQ(Find("Asia", {"before"}), (List{"before", "Asia"}));
    EXPECT_EQ(Find("nowhere", {"before"}), (List{"before"}));  // still true
    EXPECT_EQ(Find("", {"before"}).size(), data.Count() + 1);

    BroltMemoData empty;
    List list;
    EXPECT_FALSE(empty.FindMemos("", list));
    EXPECT_TRUE(list.empty());
}

}  // namespace
