#include "support/Message.h"

#include <map>

namespace {

struct MessageText {
    int id;
    const char* text;
};

const char kEditMemo[] = "メモの編集";
const char kEditTemplate[] = "テンプレートの編集";

const MessageText messageTexts[] = {
    {0, "Brolteck/Memo"},
    {1, " - Brolteck/Memo"},
    {2, kEditMemo},
    {3, kEditTemplate},
    {4, "新規"},
    {5, "メモの追加"},
    {6, kEditMemo},
    {7, "メモの削除"},
    {8, kEditTemplate},
    {9, "バックアップファイルが削除できません。"},
    {10, "バックアップファイルが作成できません。"},
    {11, "ファイルが保存できませんでした。"},
    {12, "検索文字列が入力されていません。"},
    {13, "指定されたファイルはオープンできません。"},
    {14, "ファイルアクセスエラーが発生しました。"},
    {15, "現在編集中のファイルは変更されています。\n保存しますか？"},
    {16, "ファイルの保存に失敗しました。破棄して終了しますか？"},
    {17, "変更を破棄して終了します。よろしいですか？"},
    {18, "見出し語が入力されていません。"},
    {19, "指定された見出し語はすでに存在します。"},
    {20, "重複した見出し語が存在しました。"},
    {21, "空の行が存在します。"},
    {22, "検索文字列は見つかりませんでした。"},
    {23, "ファイル"},
    {24, "が開けません。"},
    {25, "が作成できません。"},
    {26, "%d/%d件"},
    {-1, nullptr},
};

}  // namespace

const std::string& Message(int id) {
    // A function-local map: filled on the first lookup, alive until exit.
    static std::map<int, std::string> texts;
    if (texts.empty()) {
        for (const MessageText* m = messageTexts; m->id != -1; ++m) {
            texts[m->id] = m->text;
        }
    }
    return texts[id];
}
