#include "fuzz/tree_details_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/access_option.h"
#include "cli/details_command.h"
#include "cli/json_output.h"
#include "cli/tree_command.h"
#include "config/access.h"
#include "config/function_location.h"

namespace kelvox::fuzz {

namespace {

// What one function's line may hold after its place in the drawing: the list line (address,
// IDs, class code and the embedded list's names, none over a few hundred bytes) and a driver
// fact of at most kMaxFactValueBytes.
constexpr std::size_t kMaxTreeLineBytes = 1024;
// A details sheet is a fixed set of fields and the system's facts: a few kilobytes at most.
constexpr std::size_t kMaxDetailsBytes = 16 * 1024;
// Details of this many functions per input, so that a capture of many keeps the run fast.
constexpr std::size_t kDetailsPerInput = 8;

constexpr std::string_view kBranch = "├─ ";
constexpr std::string_view kLastBranch = "└─ ";
constexpr std::string_view kIndent = "│  ";
constexpr std::string_view kLastIndent = "   ";
constexpr std::string_view kHostBridge = "ホストブリッジ";

struct Run {
  int status = -1;
  std::string out, err;
};

[[noreturn]] void Fails(const std::string& what, const std::vector<std::string>& args,
                        const Run& run) {
  std::string words;
  for (const std::string& arg : args) words += " " + arg;
  std::fprintf(stderr, "%s\nkelvox-cli%s: status %d\n--- stdout ---\n%s--- stderr ---\n%s",
               what.c_str(), words.c_str(), run.status, run.out.c_str(), run.err.c_str());
  std::abort();
}

// Runs a command on a copy of `bus`, whatever --source it is given.
Run RunOn(int (*command)(std::span<const std::string>, std::ostream&, std::ostream&,
                         const cli::AccessOpener&),
          const std::vector<std::string>& args, const SimulatedBus& bus) {
  std::ostringstream out, err;
  Run run;
  run.status = command(args, out, err, [&bus](const std::optional<std::string>&) {
    return OpenedAccess{std::make_unique<SimulatedBus>(bus), {}};
  });
  run.out = out.str();
  run.err = err.str();
  return run;
}

// Whether `text` is valid UTF-8 (no stray continuation byte, no sequence cut short, no
// overlong form, no surrogate, nothing past U+10FFFF), with no C1 control (U+0080-U+009F)
// unless `c1_allowed`.
bool ValidUtf8(std::string_view text, bool c1_allowed) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const std::size_t more = lead >= 0xC2 && lead <= 0xDF   ? 1
                             : lead >= 0xE0 && lead <= 0xEF ? 2
                             : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                            : 0;
    if (more == 0 || i + more >= text.size()) return false;
    std::uint32_t code = lead & (0x3Fu >> more);
    for (std::size_t k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3Fu);
    }
    if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF) || (!c1_allowed && code <= 0x9F)) {
      return false;
    }
    i += more + 1;
  }
  return true;
}

// A successful run with nothing on stderr (but the one warning `allowed`, when given), no
// control byte but the line break on stdout, and not more than `limit` bytes. Text is valid
// UTF-8 without C1 controls (a terminal obeys those); JSON is valid UTF-8 and may hold C1
// controls, as it holds every name unchanged.
void CheckClean(const std::vector<std::string>& args, const Run& run, std::size_t limit,
                bool json, const std::string& allowed = {}) {
  if (run.status != 0) Fails("the command failed", args, run);
  if (!run.err.empty() && run.err != allowed) Fails("the command wrote on stderr", args, run);
  if (run.out.size() > limit) {
    Fails(
        "the output is " + std::to_string(run.out.size()) + " bytes, over " + std::to_string(limit),
        args, run);
  }
  for (const char c : run.out) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n') || byte == 0x7F) Fails("a raw control byte", args, run);
  }
  if (!ValidUtf8(run.out, json)) {
    Fails(json ? "the output is not UTF-8" : "the output is not UTF-8 or holds a C1 control", args,
          run);
  }
}

cli::Json Parsed(const std::vector<std::string>& args, const Run& run) {
  try {
    return cli::Json::parse(run.out);
  } catch (const cli::Json::exception& error) {
    Fails(std::string("the output is not JSON: ") + error.what(), args, run);
  }
}

// One function in the drawing: how deep it hangs and its line after the drawing.
struct Drawn {
  std::size_t depth;
  std::string line;
  bool whole = true;  // false: `line` is only the start of the line, the address
};

// Whether the text holds printable ASCII only, which the text output prints as it is. Other
// bytes (a driver fact from a capture may hold any) may be escaped there, while JSON keeps them.
bool PlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// The functions of the text, in order; fails on a line that is neither a host bridge's
// heading nor a function drawn under one.
std::vector<Drawn> TextNodes(const std::vector<std::string>& args, const Run& run) {
  std::vector<Drawn> nodes;
  std::istringstream lines(run.out);
  bool under_a_heading = false;
  for (std::string line; std::getline(lines, line);) {
    std::string_view rest = line;
    std::size_t depth = 0;
    while (rest.starts_with(kIndent) || rest.starts_with(kLastIndent)) {
      rest.remove_prefix(rest.starts_with(kIndent) ? kIndent.size() : kLastIndent.size());
      ++depth;
    }
    if (rest.starts_with(kBranch) || rest.starts_with(kLastBranch)) {
      rest.remove_prefix(rest.starts_with(kBranch) ? kBranch.size() : kLastBranch.size());
      if (!under_a_heading) Fails("a function before any host bridge", args, run);
      if (depth > (nodes.empty() ? 0 : nodes.back().depth + 1)) {
        Fails("a function drawn deeper than under the one before it", args, run);
      }
      if (rest.size() > kMaxTreeLineBytes) Fails("a function's line is too long", args, run);
      nodes.push_back({depth, std::string(rest), true});
    } else if (depth == 0 && rest.starts_with(kHostBridge)) {
      under_a_heading = true;
    } else {
      Fails("a line that is neither a heading nor a function: " + line, args, run);
    }
  }
  if (!under_a_heading) Fails("no host bridge heading", args, run);
  return nodes;
}

// The functions of the JSON document, in the order the text draws them, with the place each
// names.
void JsonNodes(const cli::Json& nodes, std::size_t depth, std::vector<Drawn>& drawn,
               std::vector<FunctionLocation>& places) {
  for (const cli::Json& node : nodes) {
    std::string line = node.at("text").get<std::string>();
    bool plain = PlainAscii(line);
    const cli::Json& driver = node.at("driver");
    if (!driver.is_null()) {
      const std::string name = driver.get<std::string>();
      plain = plain && PlainAscii(name);
      line += name.empty() ? "  [ドライバなし]" : "  [" + name + "]";
    }
    // Only the address is compared where the text may escape bytes.
    if (!plain) line = node.at("address").get<std::string>() + " ";
    drawn.push_back({depth, std::move(line), plain});
    places.push_back({node.at("bus").get<int>(), node.at("device").get<int>(),
                      node.at("function").get<int>(), node.at("domain").get<int>()});
    JsonNodes(node.at("children"), depth + 1, drawn, places);
  }
}

}  // namespace

void CheckTree(const SimulatedBus& bus) {
  SimulatedBus listed = bus;
  std::vector<FunctionLocation> present = ListEveryDomain(listed, std::nullopt).present;
  const std::size_t limit = 256 + present.size() * (kMaxTreeLineBytes + 1);

  const std::vector<std::string> text_args = {"--source", "capture.txt"};
  const Run text = RunOn(cli::RunTree, text_args, bus);
  // The drawing's indent grows with the depth: as deep as there are functions at most.
  CheckClean(text_args, text, limit + present.size() * present.size() * kIndent.size(), false);
  const std::vector<Drawn> drawn = TextNodes(text_args, text);

  const std::vector<std::string> json_args = {"--source", "capture.txt", "--json"};
  const Run json = RunOn(cli::RunTree, json_args, bus);
  // Each node of the JSON is some thirty lines, each indented four spaces more per level.
  CheckClean(json_args, json, 4 * limit + present.size() * present.size() * 128, true);
  const cli::Json document = Parsed(json_args, json);
  std::vector<Drawn> json_drawn;
  std::vector<FunctionLocation> places;
  try {
    JsonNodes(document.at("functions"), 0, json_drawn, places);
  } catch (const cli::Json::exception& error) {
    Fails(std::string("a node is not as the README describes: ") + error.what(), json_args, json);
  }
  if (json_drawn.size() != drawn.size())
    Fails("the JSON's tree is not the text's", json_args, json);
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    if (json_drawn[i].depth != drawn[i].depth ||
        (json_drawn[i].whole ? drawn[i].line != json_drawn[i].line
                             : !drawn[i].line.starts_with(json_drawn[i].line))) {
      Fails("the JSON's tree is not the text's at line: " + drawn[i].line, json_args, json);
    }
  }

  std::sort(places.begin(), places.end());
  if (places != present) {
    Fails(std::to_string(places.size()) + " functions in the tree, not the " +
              std::to_string(present.size()) + " present",
          json_args, json);
  }
}

void CheckDetails(const SimulatedBus& bus) {
  SimulatedBus listed = bus;
  std::vector<FunctionLocation> places = ListEveryDomain(listed, std::nullopt).present;
  if (places.size() > kDetailsPerInput) places.resize(kDetailsPerInput);
  // A place with no function in the first domain there is: every register reads all ones.
  const std::vector<FunctionLocation> held = bus.Locations();
  const FunctionLocation empty{255, 31, 7, held.empty() ? 0 : held.front().domain};
  if (!bus.Find(empty)) places.push_back(empty);

  for (const FunctionLocation& at : places) {
    std::vector<std::string> args = {std::to_string(at.device),
                                     "--bus",
                                     std::to_string(at.bus),
                                     "--function",
                                     std::to_string(at.function),
                                     "--domain",
                                     DomainText(at.domain),
                                     "--source",
                                     "capture.txt"};
    // A place where no function answers (vendor ID ffff) is named in one warning, as the
    // window shows it all ones.
    const DomainScope in_domain(listed, at.domain);
    const bool answers = (listed.Read(at.bus, at.device, at.function, 0) & 0xFFFF) != 0xFFFF;
    const std::string empty_warning =
        answers ? std::string()
                : "kelvox-cli: details: warning: no function answers at " + AddressText(at) +
                      "; the sheet shows what an empty slot reads (all ones)\n";
    CheckClean(args, RunOn(cli::RunDetails, args, bus), kMaxDetailsBytes, false, empty_warning);
    args.push_back("--json");
    const Run json = RunOn(cli::RunDetails, args, bus);
    CheckClean(args, json, 4 * kMaxDetailsBytes, true, empty_warning);
    const cli::Json document = Parsed(args, json);
    const auto number = [&](const char* key) {
      const cli::Json* value = document.contains(key) ? &document[key] : nullptr;
      if (value == nullptr || !value->is_number_integer()) {
        Fails(std::string("no number \"") + key + "\"", args, json);
      }
      return value->get<int>();
    };
    if (number("domain") != at.domain || number("bus") != at.bus || number("device") != at.device ||
        number("function") != at.function) {
      Fails("the document is not of the place asked for", args, json);
    }
  }
}

}  // namespace kelvox::fuzz
