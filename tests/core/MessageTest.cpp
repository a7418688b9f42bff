#include "support/Message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// The table as users must see it, written out independently of the code.
const char* const kExpected[] = {
    "Brolteck/Memo",
    " - Brolteck/Memo",
    "メモの編集",
    "テンプレートの編集",
    "新規",
    "メモの追加",
    "メモの編集",
    "メモの削除",
    "テンプレートの編集",
    "バックアップファイルが削除できません。",
    "バックアップファイルが作成できません。",
    "ファイルが保存できませんでした。",
    "検索文字列が入力されていません。",
    "指定されたファイルはオープンできません。",
    "ファイルアクセスエラーが発生しました。",
    "現在編集中のファイルは変更されています。\n保存しますか？",
    "ファイルの保存に失敗しました。破棄して終了しますか？",
    "変更を破棄して終了します。よろしいですか？",
    "見出し語が入力されていません。",
    "指定された見出し語はすでに存在します。",
    "重複した見出し語が存在しました。",
    "空の行が存在します。",
    "検索文字列は見つかりませんでした。",
    "ファイル",
    "が開けません。",
    "が作成できません。",
    "%d/%d件",
};

TEST(Message, HoldsExactlyTheTwentySevenTexts) {
    static_assert(std::size(kExpected) == 27);
    for (int id = 0; id < 27; ++id) {
        EXPECT_EQ(Message(id), kExpected[id]) << "message " << id;
    }
    EXPECT_EQ(std::count(Message(15).begin(), Message(15).end(), '\n'), 1);
    EXPECT_EQ(Message(2), Message(6));
    EXPECT_EQ(Message(3), Message(8));
}

TEST(Message, UnknownNumbersAreEmptyAndDisturbNothing) {
    const std::string* first = &Message(0);
    for (int id : {27, -1, -100, 1000}) {
        EXPECT_EQ(Message(id), "") << "message " << id;
    }
    // A lookup hands out the same stored text every time, also after misses.
    EXPECT_EQ(&Message(0), first);
    EXPECT_EQ(&Message(-1), &Message(-1));
    EXPECT_EQ(Message(26), "%d/%d件");
}

}  // namespace
