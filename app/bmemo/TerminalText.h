#pragma once

// The edge between the terminal (UTF-8, or CP932 bytes with --raw) and the
// memo book (CP932 bytes), and the checks that keep a memo within what the
// memo file can hold.

#include <stdexcept>
#include <string>
#include <string_view>

namespace bmemo {

// A failure to report with exit status 1; the text says what went wrong.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command line that does not fit; reported with the usage text, status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// How texts cross the edge: converted with the codec, or passed as they are.
class TerminalText {
  public:
    explicit TerminalText(bool raw) : raw_(raw) {}

    // A text from the command line as CP932 bytes. `what` names the text in
    // the refusal ("the headword") when CP932 cannot hold a character of it.
    std::string FromTerminal(std::string_view text, std::string_view what) const;
    // CP932 bytes for the terminal; bytes that are not CP932 show as U+FFFD.
    std::string ToTerminal(std::string_view cp932) const;

    // Standard input as memo content: CP932 lines that each end in LF. CR LF
    // becomes LF, a missing last line end is added and empty lines at the end
    // are dropped. Refuses, naming the reason, what a memo file cannot hold:
    // a character outside CP932, an empty line before the last line, a lone
    // CR, the byte 0x1A.
    std::string ContentFromInput(std::string_view input) const;

  private:
    bool raw_;
};

// Refuses a memo headword the memo file cannot hold: empty, holding a line
// break or 0x1A, or beginning with the template marker "T>".
void CheckMemoHeadword(std::string_view headword);
// The template's headword may be empty and may begin with "T>".
void CheckTemplateHeadword(std::string_view headword);

}  // namespace bmemo
