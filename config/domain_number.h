// PCI domain numbers as people type them: the hex text of `--domain c0e3`, the list of
// domains a message names when one asked for is not there, and the domain a view opens on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/access.h"

namespace kelvox {

// A domain read from text, or why the text is not one.
struct DomainNumber {
  std::optional<int> value;
  std::string error;  // one line naming the text, set when `value` is empty
};

// 1 to 8 hex digits in either case ("0", "c0e3", "10000"), at most kMaxDomain. Anything else
// (blanks, signs, "0x", other letters, more digits, a larger value) is refused with a reason.
DomainNumber ParseDomainNumber(std::string_view text);

// A domain as a person types it after --domain: as ParseDomainNumber takes it, or the same
// digits after "0x" ("0xc0e3").
DomainNumber ParseTypedDomainNumber(std::string_view text);

// "0000, c0e3, 10000": each domain as lspci writes it, in the order given.
std::string DomainListText(const std::vector<int>& domains);

// The domain a view opens on when none is asked for: 0 when it is among `domains`, else the
// lowest of them.
int StartingDomain(const std::vector<int>& domains);

// Selects `asked` in `access`, or its starting domain when nothing is asked. Returns "" on
// success, else one line naming the domains there are ("there is no domain c0e4; the domains
// are 0000, c0e3"), the selection unchanged.
std::string ChooseDomain(ConfigAccess& access, std::optional<int> asked);

}  // namespace kelvox
