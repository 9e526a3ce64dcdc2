// What the decoder makes of a function's capabilities: for each capability its place, ID and
// name, and its registers and their fields, each with the text lspci prints for it and a value
// for programs. Nothing here prints or draws; the terminal, the JSON and the window format it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvox {

// A field's value for programs: nothing, a flag, a number, a text, or a list of names (the
// status bits that are set, say).
using FieldValue = std::variant<std::monostate, bool, int64_t, std::string,
                                std::vector<std::string>, std::vector<uint64_t>>;

// A register of a capability, or a field of one. A register has a label as lspci names it
// ("LnkSta") and the text lspci prints for it ("Speed 8GT/s, Width x16"; a register lspci
// prints over several lines holds line breaks), and its fields as children. A field has a key
// for JSON ("speed"), a label ("Speed") and its text and value.
//
// The key and the label are names fixed in the program (string literals, or a decoder's own
// static table for numbered ones such as "Region 0"), never text made while decoding: a
// function has hundreds of fields, and a view costs no allocation.
struct CapField {
  std::string_view key;
  std::string_view label;
  std::string text;
  FieldValue value;
  std::vector<CapField> children;
  // Whether the text shows the field on a line of its own; a field that only gives a value
  // (MSI's "enabled", which the capability's first line already says) shows in JSON and the
  // window's tree only.
  bool shown = true;
  // What the text puts between the label and the text: ": " ("LnkSta: Speed 8GT/s"), or a
  // blank where lspci writes them as one phrase ("Expansion ROM at fffc0000").
  const char* joiner = ": ";
  // A list of like entries (Resizable BAR's BARs): in JSON an array of its children's fields,
  // in the tree and the text nothing (its entries are fields of their own there too).
  bool list = false;
};

struct Capability {
  int offset = 0;
  int id = 0;             // 8 bits for a standard capability, 16 for an extended one
  bool extended = false;  // from the extended list at 0x100
  int version = -1;       // the capability's version where it has one, else -1
  std::string name;       // as the PCI-SIG names it: "MSI-X", "Express", "Power Management"
  std::string summary;    // what lspci prints after the name on the first line
  std::vector<CapField> fields;
  std::string problem;  // why the capability could not be decoded whole, "" when it could
};

// The capabilities of one function, or why there are none to show.
struct CapabilityList {
  // False when the bytes past the header could not be read (`unreadable` says why); then
  // nothing else is known.
  bool readable = true;
  std::string unreadable;
  std::vector<Capability> capabilities;  // the standard list, then the extended one
  // Why a list ends early or could not be walked ("the list loops back to 0x50"), one line per
  // list, "" for a list that ends as it should.
  std::string standard_problem, extended_problem;
};

}  // namespace kelvox
