// Writes realistic memo books for the benchmarks: Japanese headwords taken
// from an SKK dictionary (EUC-JP), each with a few lines of Japanese content
// about the word, about 100 bytes a memo on disk.
//
//   gen_memobook --dict SKK-JISYO.L --count N --out BOOK [--shuffled FILE]
//                [--plant TEXT --plant-count K] [--seed S]
//
// The memos are first written in random order (books from other systems are
// not in our collation order), then loaded and saved by the memo store, so
// BOOK is byte for byte what the program itself would write. --shuffled keeps
// the random-order file. --plant puts TEXT (UTF-8) into the content of K
// memos spread over the book, for searches that hit a few memos.

#include <unicode/ucnv.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "memo/BroltMemoData.h"
#include "support/Cp932.h"

namespace {

// One dictionary entry, already in CP932.
struct Entry {
    std::string reading;
    std::vector<std::string> words;
    std::vector<std::string> notes;  // per word; may be empty
};

std::string Cp932(std::string_view utf8) {
    std::string out;
    if (!cp932::FromUtf8(utf8, out)) {
        throw std::runtime_error("not CP932: " + std::string(utf8));
    }
    return out;
}

// The dictionary converted to UTF-8 with ICU.
std::string ReadDictionaryUtf8(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    std::string euc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string utf8(euc.size() * 2 + 16, '\0');
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = ucnv_convert("UTF-8", "EUC-JP", utf8.data(), static_cast<int32_t>(utf8.size()),
                             euc.data(), static_cast<int32_t>(euc.size()), &err);
    if (U_FAILURE(err)) {
        throw std::runtime_error(std::string("EUC-JP conversion failed: ") + u_errorName(err));
    }
    utf8.resize(static_cast<std::size_t>(n));
    return utf8;
}

// Entries whose reading has no okurigana mark and whose words CP932 holds.
std::vector<Entry> ParseDictionary(const std::string& utf8) {
    std::vector<Entry> entries;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = utf8.find('\n', pos);
        if (end == std::string::npos) {
            end = utf8.size();
        }
        std::string_view line(utf8.data() + pos, end - pos);
        pos = end + 1;
        std::size_t space = line.find(" /");
        if (line.starts_with(";;") || space == std::string_view::npos || space == 0) {
            continue;
        }
        std::string_view reading = line.substr(0, space);
        char last = reading.back();
        if (last >= 'a' && last <= 'z' && static_cast<unsigned char>(reading.front()) >= 0x80) {
            continue;  // okurigana stems are not words
        }
        Entry e;
        std::string tmp;
        if (!cp932::FromUtf8(reading, e.reading)) {
            continue;
        }
        std::string_view rest = line.substr(space + 2);
        while (!rest.empty()) {
            std::size_t slash = rest.find('/');
            std::string_view cand = rest.substr(0, slash);
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
            std::string_view note;
            if (std::size_t semi = cand.find(';'); semi != std::string_view::npos) {
                note = cand.substr(semi + 1);
                cand = cand.substr(0, semi);
                if (note.starts_with("\xE2\x80\xA0")) {  // the dictionary's dagger mark
                    note.remove_prefix(3);
                }
            }
            std::string word;
            std::string noteCp;
            if (cand.empty() || cand.front() == '(' || !cp932::FromUtf8(cand, word)) {
                continue;
            }
            if (note.find('(') != std::string_view::npos || !cp932::FromUtf8(note, noteCp)) {
                noteCp.clear();
            }
            e.words.push_back(std::move(word));
            e.notes.push_back(std::move(noteCp));
        }
        if (!e.words.empty()) {
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

class BookWriter {
  public:
    explicit BookWriter(const std::string& path) : out(path, std::ios::binary) {
        if (!out) {
            throw std::runtime_error("cannot create " + path);
        }
    }
    void Line(std::string_view s) {
        buffer.append(s);
        buffer.append("\r\n");
        if (buffer.size() > (1 << 20)) {
            Flush();
        }
    }
    void Flush() {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
    void Close() {
        Flush();
        out.close();
        if (!out) {
            throw std::runtime_error("write failed");
        }
    }

  private:
    std::ofstream out;
    std::string buffer;
};

struct Options {
    std::string dict = "/usr/share/skk/SKK-JISYO.L";
    std::size_t count = 10000;
    std::string out;
    std::string shuffled;
    std::string plant;
    std::size_t plantCount = 5;
    unsigned long seed = 20240601;
};

Options ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                throw std::runtime_error("missing value for " + a);
            }
            return argv[++i];
        };
        if (a == "--dict") {
            o.dict = value();
        } else if (a == "--count") {
            o.count = std::stoul(value());
        } else if (a == "--out") {
            o.out = value();
        } else if (a == "--shuffled") {
            o.shuffled = value();
        } else if (a == "--plant") {
            o.plant = value();
        } else if (a == "--plant-count") {
            o.plantCount = std::stoul(value());
        } else if (a == "--seed") {
            o.seed = std::stoul(value());
        } else {
            throw std::runtime_error("unknown argument " + a);
        }
    }
    if (o.out.empty()) {
        throw std::runtime_error(
            "usage: gen_memobook --count N --out BOOK [--dict FILE] [--shuffled FILE] "
            "[--plant TEXT] [--plant-count K] [--seed S]");
    }
    return o;
}

void Generate(const Options& o) {
    std::vector<Entry> entries = ParseDictionary(ReadDictionaryUtf8(o.dict));
    // Every (entry, word) pair is a base headword; the first use of a word
    // is plain, later rounds join it with another word as memo books do
    // ("設計・試験").
    struct Ref {
        std::uint32_t entry;
        std::uint32_t word;
    };
    std::vector<Ref> refs;
    for (std::uint32_t e = 0; e < entries.size(); ++e) {
        for (std::uint32_t w = 0; w < entries[e].words.size(); ++w) {
            refs.push_back({e, w});
        }
    }
    if (refs.empty()) {
        throw std::runtime_error("no words in " + o.dict);
    }
    std::mt19937_64 random(o.seed);
    std::shuffle(refs.begin(), refs.end(), random);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };

    const std::string joiner = Cp932("・");
    const std::string readingLabel = Cp932("読み：");
    const std::string meaningLabel = Cp932("意味：");
    const std::string relatedLabel = Cp932("同音：");
    const std::string comma = Cp932("、");
    const std::string dateLabel = Cp932("登録：");
    const std::string year = Cp932("年");
    const std::string month = Cp932("月");
    const std::string day = Cp932("日");
    const std::string plant = o.plant.empty() ? std::string() : Cp932(o.plant);
    const std::vector<std::string> remarks = {
        Cp932("会議で話題に出た。次回までに調べておくこと。"),
        Cp932("辞書で確認済み。"),
        Cp932("用例を集める。"),
        Cp932("表記ゆれに注意。"),
        Cp932("参考: p.123"),
        Cp932("メールで問い合わせ中 (担当: 佐藤)"),
        Cp932("TODO: 出典を書く"),
        Cp932("読み方を間違えやすい。"),
        Cp932("新聞記事より。切り抜きは青いファイルに入れた。"),
        Cp932("http://www.example.com/words/ に解説あり"),
        Cp932("来週の勉強会で発表する予定。資料の三ページ目。"),
        Cp932("英語では何と言うか調べる。"),
    };

    std::unordered_set<std::string> used;
    used.reserve(o.count * 2);
    BookWriter writer(o.shuffled.empty() ? o.out + ".shuffled" : o.shuffled);
    writer.Line(Cp932("T>新しい言葉"));
    writer.Line(readingLabel);
    writer.Line(meaningLabel);
    writer.Line("");

    const std::size_t plantEvery =
        plant.empty() ? 0 : std::max<std::size_t>(1, o.count / o.plantCount);
    std::string headword;
    std::string line;
    std::size_t written = 0;
    for (std::size_t i = 0; written < o.count; ++i) {
        const Ref& r = refs[i % refs.size()];
        const Entry& e = entries[r.entry];
        headword = e.words[r.word];
        if (i >= refs.size()) {
            const Ref& other = refs[pick(refs.size())];
            headword += joiner;
            headword += entries[other.entry].words[other.word];
        }
        if (headword.starts_with("T>") || !used.insert(headword).second) {
            continue;
        }
        writer.Line(headword);
        writer.Line(readingLabel + e.reading);
        if (!e.notes[r.word].empty()) {
            writer.Line(meaningLabel + e.notes[r.word]);
        }
        if (e.words.size() > 1) {
            line = relatedLabel;
            std::size_t shown = 0;
            for (std::size_t w = 0; w < e.words.size() && shown < 4; ++w) {
                if (w != r.word) {
                    line += shown++ ? comma : std::string();
                    line += e.words[w];
                }
            }
            writer.Line(line);
        }
        line = dateLabel + std::to_string(2000 + pick(25)) + year + std::to_string(1 + pick(12)) +
               month + std::to_string(1 + pick(28)) + day;
        writer.Line(line);
        writer.Line(remarks[pick(remarks.size())]);
        if (pick(3) == 0) {
            writer.Line(remarks[pick(remarks.size())]);
        }
        if (plantEvery && written % plantEvery == plantEvery / 2) {
            writer.Line(plant);
        }
        writer.Line("");
        ++written;
    }
    writer.Close();

    const std::string shuffledPath = o.shuffled.empty() ? o.out + ".shuffled" : o.shuffled;
    BroltMemoData data;
    MemoLoadReport report;
    data.LoadFromFile(shuffledPath, &report);
    data.SaveToFile(o.out);
    if (o.shuffled.empty()) {
        std::remove(shuffledPath.c_str());
    }
    std::cout << o.out << ": " << data.Count() << " memos, " << report.duplicates
              << " merged as collation-equal, from " << refs.size() << " dictionary words\n";
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Generate(ParseArgs(argc, argv));
    } catch (const std::exception& e) {
        std::cerr << "gen_memobook: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
