// Help texts written once and printed two ways: wrapped for the terminal (--help) and as roff
// for the manual pages, so that the two always say the same.
//
// A text is paragraphs with a blank line between them. The lines of a paragraph are joined and
// wrapped to the width. A paragraph whose first line starts with two blanks is an example or a
// table: it is printed line for line, as written. A word in `backquotes` names a command or an
// option: the terminal shows it as written, a manual page in bold.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kelvox {

// One option of an options list.
struct HelpOption {
  std::string_view words;  // the option and what it takes: "--bus N", "-h, --help"
  std::string_view text;   // what it does, a text as above
};

// A titled part of a manual page: "EXIT STATUS" with its text, or with a list of entries.
struct HelpSection {
  std::string_view title;
  std::string_view text;
  std::span<const HelpOption> entries = {};
};

// The columns `text` takes in a terminal: one for each character, two for the wide characters
// of East Asian scripts (the Japanese texts), none for a byte that continues a UTF-8 sequence.
int DisplayWidth(std::string_view text);

// The text wrapped to `width` columns, each line `indent` blanks in (a verbatim paragraph keeps
// its own blanks after them); a blank line between paragraphs; ends with a line break.
std::string WrappedText(std::string_view text, int indent, int width = 80);

// An options list as --help shows it: the words two columns in, the text from column
// kOptionTextColumn (on the next line when the words reach it), wrapped to `width`.
inline constexpr int kOptionTextColumn = 18;
std::string OptionsText(std::span<const HelpOption> options, int width = 80);

// `text` with what roff would read as markup escaped: backslashes, minus signs (so they stay
// hyphen-minus and can be searched for), and a '.' or '\'' that starts a line.
std::string RoffEscaped(std::string_view text);

// The text as roff paragraphs (.PP; a verbatim paragraph between .nf and .fi), `backquoted`
// words in bold.
std::string RoffText(std::string_view text);

// An options list as roff: one .TP entry for each, the option in bold and what it takes
// (the words that are not options themselves, such as "N" or "FILE") in italics; an entry that
// is no option (a command, an exit status) in bold.
std::string RoffOptions(std::span<const HelpOption> options);

// A section of a manual page: ".SH TITLE", then its text and its entries.
std::string RoffSection(const HelpSection& section);

}  // namespace kelvox
