#include "options/args.h"

#include <charconv>

#include "text/hex_digit.h"

namespace kelvox {

bool ParsedOptions::Has(std::string_view name) const { return texts_.contains(name); }

long ParsedOptions::Integer(std::string_view name, long fallback) const {
  auto it = numbers_.find(name);
  return it == numbers_.end() ? fallback : it->second;
}

std::optional<std::string> ParsedOptions::Text(std::string_view name) const {
  auto it = texts_.find(name);
  if (it == texts_.end()) return std::nullopt;
  return it->second;
}

void ParsedOptions::Set(std::string_view name, std::string value, std::optional<long> number) {
  texts_.insert_or_assign(std::string(name), std::move(value));
  if (number) numbers_.insert_or_assign(std::string(name), *number);
}

std::optional<long> ParseInteger(std::string_view text) {
  // from_chars takes digits after an optional minus sign, and nothing else: no blanks, no
  // plus sign, no base prefix.
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<long> ParseDecimalOrHex(std::string_view text) {
  if (const std::optional<long> decimal = ParseInteger(text)) return decimal;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    const std::optional<uint32_t> value = HexNumber(text.substr(2));
    if (value) return static_cast<long>(*value);
    return std::nullopt;
  }
  bool letter = false;
  for (const char c : text) letter = letter || HexDigitValue(c) >= 10;
  const std::optional<uint32_t> value = letter ? HexNumber(text) : std::nullopt;
  if (value) return static_cast<long>(*value);
  return std::nullopt;
}

namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
  for (const OptionSpec& spec : specs) {
    if (spec.name == name) return &spec;
  }
  return nullptr;
}

std::string MissingValue(const OptionSpec& spec) {
  return std::string(spec.name) + " needs " +
         std::string(spec.takes.empty() ? "a value" : spec.takes);
}

// Checks one option's value; the empty result means it is good.
std::string CheckValue(const OptionSpec& spec, std::string_view value,
                       std::optional<long>& number) {
  if (spec.kind == OptionSpec::Kind::kText) {
    if (!value.empty()) return {};
    if (!spec.takes.empty()) return MissingValue(spec);
    return std::string(spec.name) + ": empty value";
  }
  number = spec.hex ? ParseDecimalOrHex(value) : ParseInteger(value);
  if (!number) {
    return std::string(spec.name) + ": '" + std::string(value) + "' is not " +
           (spec.hex ? "a number (decimal, or hexadecimal as 0x1a or 1a)" : "a decimal number");
  }
  if (*number < spec.min || *number > spec.max) {
    return std::string(spec.name) + ": " + std::to_string(*number) + " is outside " +
           std::to_string(spec.min) + " to " + std::to_string(spec.max);
  }
  return {};
}

}  // namespace

ParseResult ParseOptions(std::span<const std::string> args, std::span<const OptionSpec> specs,
                         size_t max_positionals) {
  ParseResult result;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--help" || word == "-h") {
      result.options.help = true;
      return result;
    }
    if (!word.starts_with("-") || word == "-") {
      if (result.options.positionals.size() == max_positionals) {
        result.error = "unexpected argument '" + word + "'";
        result.unknown_word = word;
        return result;
      }
      result.options.positionals.push_back(word);
      continue;
    }
    size_t equals = word.find('=');
    std::string_view name = std::string_view(word).substr(0, equals);
    const OptionSpec* spec = FindSpec(specs, name);
    // A one-letter option with its value right after it: "-s00:03.0".
    if (spec == nullptr && !word.starts_with("--") && word.size() > 2) {
      const OptionSpec* letter = FindSpec(specs, std::string_view(word).substr(0, 2));
      if (letter != nullptr && letter->kind != OptionSpec::Kind::kFlag) {
        spec = letter;
        name = letter->name;
        equals = 1;  // the value starts at 2, as after "-s="
      }
    }
    if (spec == nullptr) {
      result.error = "unknown option '" + std::string(name) + "'";
      result.unknown_word = word;
      return result;
    }
    if (spec->kind == OptionSpec::Kind::kFlag) {
      if (equals != std::string::npos) {
        result.error = std::string(name) + " takes no value";
        return result;
      }
      result.options.Set(name, {}, std::nullopt);
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = word.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      result.error = MissingValue(*spec);
      return result;
    }
    std::optional<long> number;
    result.error = CheckValue(*spec, value, number);
    if (!result.ok()) return result;
    result.options.Set(name, std::move(value), number);
  }
  return result;
}

}  // namespace kelvox
