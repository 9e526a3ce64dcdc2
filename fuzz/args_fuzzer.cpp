// The two command-line parsers on any words: kelvox-cli's (through RunCli, as main() calls it)
// and the window's ParseAppOptions. The input is split into words at NUL bytes, as argv is.
//
// kelvox-cli never reaches the machine's bus or any file here: every --source, -o and --ids
// the input names is dropped, and the commands that read a bus get --source pointing at a
// file that does not exist, so they stop at opening it. What is checked is what the README
// promises: exit status 0, 1 or 2, and on 2 one line "kelvox-cli: ..." on stderr with nothing
// on stdout.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run_cli.h"
#include "ui/app_options.h"

namespace {

constexpr const char* kMissingSource = "/nonexistent/kelvox-fuzz/capture.txt";

// `text` with control characters and bytes over 0x7E as \xNN, for the failure report.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      escaped.push_back(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      escaped += hex;
    }
  }
  return escaped;
}

[[noreturn]] void Fails(const char* what, const std::vector<std::string>& words,
                        const std::string& out, const std::string& err) {
  std::fprintf(stderr, "args: %s\nwords:", what);
  for (const std::string& word : words) std::fprintf(stderr, " [%s]", Escaped(word).c_str());
  std::fprintf(stderr, "\nstdout: [%s]\nstderr: [%s]\n", Escaped(out).c_str(),
               Escaped(err).c_str());
  std::abort();
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at <= text.size() && !text.empty()) {
    std::size_t stop = text.find('\0', at);
    if (stop == std::string_view::npos) stop = text.size();
    words.emplace_back(text.substr(at, stop - at));
    at = stop + 1;
  }
  return words;
}

// Any word that could name a file or the default backend: --source, -o and --ids (whose
// "system" reads the distribution's pci.ids). An option that reads or writes files must be
// added here. Without --ids the commands would read the distribution's list by default:
// KELVOX_IDS=embedded, set once before the first input, keeps them to the embedded one.
bool NamesAFile(std::string_view word) {
  for (const std::string_view option : {"--source", "--ids"}) {
    if (word.starts_with(option) && (word.size() == option.size() || word[option.size()] == '=')) {
      return true;
    }
  }
  // A one-letter option takes its value joined to it too: "-oFILE".
  return word.starts_with("-o");
}

// Every command but find and help may read a bus; one that takes no --source refuses it before
// opening anything.
bool MayReadABus(std::string_view command) {
  return command != "find" && command != "help" && command != "--help" && command != "-h";
}

void CheckCli(const std::vector<std::string>& words) {
  std::vector<std::string> args;
  for (const std::string& word : words) {
    if (!NamesAFile(word)) args.push_back(word);
  }
  if (!args.empty() && MayReadABus(args[0])) {
    args.emplace_back("--source");
    args.emplace_back(kMissingSource);
  }
  std::ostringstream out, err;
  const int status = kelvox::cli::RunCli(args, out, err);
  const std::string out_text = out.str(), err_text = err.str();
  if (status < 0 || status > 2) Fails("exit status outside 0 to 2", args, out_text, err_text);
  if (status == 2) {
    if (!out_text.empty()) Fails("output on stdout with status 2", args, out_text, err_text);
    if (!err_text.starts_with("kelvox-cli: ") || !err_text.ends_with('\n') ||
        err_text.find('\n') != err_text.size() - 1) {
      Fails("stderr is not one line \"kelvox-cli: ...\"", args, out_text, err_text);
    }
  }
}

void CheckApp(const std::vector<std::string>& words) {
  const kelvox::ParsedAppOptions parsed = kelvox::ParseAppOptions(words);
  if (!parsed.error.empty()) {
    if (!parsed.error.starts_with("kelvox: ")) Fails("app error", words, {}, parsed.error);
    return;
  }
  if (parsed.options.source && parsed.options.source->empty()) {
    Fails("empty --source accepted", words, {}, {});
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("KELVOX_IDS", "embedded", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> words =
      SplitWords(std::string_view(reinterpret_cast<const char*>(data), size));
  CheckCli(words);
  CheckApp(words);
  return 0;
}
