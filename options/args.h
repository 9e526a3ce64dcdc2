// The option parser both programs use, kelvox-cli for each command and kelvox for its window:
// `--name value` or `--name=value`, a one-letter option's value also right after it as
// getopt takes it (`-s00:03.0`), flags without a value (`--json`, `-D`), integers parsed
// strictly (the whole word, within the option's range), a fixed number of positional words,
// nothing guessed. `--help` or `-h` ends the parsing.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox {

// What an option takes: an integer within [min, max], any text, or nothing (a flag).
struct OptionSpec {
  enum class Kind { kInteger, kText, kFlag };
  std::string_view name;  // with its dashes: "--bus"
  Kind kind = Kind::kText;
  long min = 0;
  long max = 0;
  // What the value is, for the message when it is missing: "--ids needs embedded, system or
  // FILE". A text option that says so reports an empty value the same way; one that does not
  // says "--ids needs a value", and "--ids: empty value" for an empty one.
  std::string_view takes = {};
  // An integer written in decimal ("10" is ten), or in hexadecimal with "0x" or with a digit
  // a-f ("0x1a", "1a"), as addresses are written; without it, decimal only.
  bool hex = false;
};

// The options a command line gave; an option given twice keeps its last value.
class ParsedOptions {
 public:
  bool help = false;                     // --help or -h was given (parsing stops there)
  std::vector<std::string> positionals;  // the words that are not options, in order

  bool Has(std::string_view name) const;
  // The integer given for `name`, or `fallback` when the option was not given.
  long Integer(std::string_view name, long fallback) const;
  // The text given for `name`, or nothing when the option was not given.
  std::optional<std::string> Text(std::string_view name) const;

  void Set(std::string_view name, std::string value, std::optional<long> number);

 private:
  std::map<std::string, std::string, std::less<>> texts_;
  std::map<std::string, long, std::less<>> numbers_;
};

// The parsed options, or a one-line message (without the program name) saying what is wrong.
struct ParseResult {
  ParsedOptions options;
  std::string error;
  // The word, as given, when the error is that the program does not take it at all ("unknown
  // option '--x'" for "--x=1", "unexpected argument 'x'"); empty when the error is about a
  // value of an option it takes. A program may word such an error its own way.
  std::string unknown_word;
  bool ok() const { return error.empty(); }
};

// Parses every word of `args` as one of `specs`, or as one of at most `max_positionals` words
// that do not start with a dash.
ParseResult ParseOptions(std::span<const std::string> args, std::span<const OptionSpec> specs,
                         size_t max_positionals = 0);

// The value of a word as an option with `hex` reads it: a whole decimal integer, else
// "0x" and 1 to 8 hexadecimal digits, else 1 to 8 hexadecimal digits with at least one of
// a-f in either case; nothing for anything else.
std::optional<long> ParseDecimalOrHex(std::string_view text);

// The value of a whole decimal integer word ("-3", "007"), or nothing for anything else:
// empty text, blanks, a plus sign, a partial number like "12abc", hexadecimal, or a value
// that does not fit in a long.
std::optional<long> ParseInteger(std::string_view text);

}  // namespace kelvox
