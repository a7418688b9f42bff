// bmemo: reads and edits memo books from the command line.

#include <iostream>
#include <string>
#include <string_view>

#include "Commands.h"

namespace {

const char kHelp[] = R"(Usage: bmemo [--raw] COMMAND ARGUMENTS
Reads and edits a memo book (a CP932 text file of memos and a template).

Reading:
  bmemo list FILE            the headwords, one per line, in collation order
  bmemo show FILE HEADWORD   the content of that memo
  bmemo find FILE TEXT       the headwords of the memos whose headword or
                             content holds TEXT, in collation order; a match
                             starts at a character, letter case counts
  bmemo template FILE        the template headword on the first line, then
                             the template content
  bmemo check FILE           records read, memos, duplicate records merged,
                             whether a template was found, and how many bytes
                             are not valid CP932
  bmemo resave IN OUT        reads IN and writes it to OUT in the memo file
                             format (OUT is overwritten)

Editing (each saves FILE at once; the previous version becomes the backup,
FILE with its extension replaced by .bak: memo.txt -> memo.bak):
  bmemo set FILE HEADWORD    adds the memo, or replaces its content, with the
                             content read from standard input; a FILE that
                             does not exist yet becomes a new memo book
  bmemo delete FILE HEADWORD deletes the memo
  bmemo set-template FILE HEADWORD
                             sets the template to HEADWORD (may be empty) and
                             the content read from standard input

Content read from standard input is stored as lines that each end in a line
feed (CR LF becomes LF; empty lines at its end are dropped). It is refused,
and nothing is written, when it holds a character CP932 cannot hold, an empty
line before its last line (an empty line ends a memo in the file), a carriage
return that does not end a line, or U+001A. A memo headword must not be empty,
hold a line break or U+001A, or begin with "T>" (the template's marker); and
a book whose memos all begin with "T>" is not written, as it would read back
with the first of them as the template. A HEADWORD that is not in the book is an error.

Collation order is that of the locale in LC_ALL, LC_COLLATE or LANG (the first
one set): under ja_JP, カ comes before き and apple before Banana.

Options:
  --raw      texts on the command line, standard input and output are CP932
             bytes, passed unconverted; without it they are UTF-8
  --help     shows this text
  --         ends the options (for a headword or text that begins with '-')

Exit status: 0 on success (a warning about duplicate headwords merged on
reading goes to standard error), 1 on an error, with its text on standard
error, 2 when the command line does not fit.
)";

void PrintUsage(std::ostream& out) {
    out << "Usage:\n";
    for (const bmemo::Command& command : bmemo::Commands()) {
        out << "  bmemo [--raw] " << command.name << ' ' << command.arguments << '\n';
    }
    out << "Try 'bmemo --help' for more.\n";
}

int Run(int argc, char** argv) {
    bool raw = false;
    bool options = true;
    bmemo::Arguments words;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            std::cout << kHelp;
            return 0;
        } else if (options && arg == "--raw") {
            raw = true;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            throw bmemo::UsageError("unknown option " + std::string(arg));
        } else {
            words.emplace_back(arg);
        }
    }
    if (words.empty()) {
        throw bmemo::UsageError("no command given");
    }
    const std::string name = words.front();
    words.erase(words.begin());
    for (const bmemo::Command& command : bmemo::Commands()) {
        if (name == command.name) {
            if (words.size() != command.count) {
                throw bmemo::UsageError("wrong number of arguments: bmemo " + name + " " +
                                        command.arguments);
            }
            bmemo::Context context{bmemo::TerminalText(raw), std::cin, std::cout, std::cerr};
            command.run(context, words);
            return 0;
        }
    }
    throw bmemo::UsageError("unknown command " + name);
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    int status;
    try {
        status = Run(argc, argv);
    } catch (const bmemo::UsageError& e) {
        std::cerr << "bmemo: " << e.what() << '\n';
        PrintUsage(std::cerr);
        return 2;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "bmemo: " << e.what() << '\n';
        return 1;
    }
    // Output that did not arrive is a failure, not a success.
    if (!std::cout.flush()) {
        std::cerr << "bmemo: the output cannot be written\n";
        return 1;
    }
    return status;
}
