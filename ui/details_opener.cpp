#include "ui/details_opener.h"

#include "details/system_texts.h"
#include "topology/link_verdict.h"
#include "ui/details_sheet.h"

namespace kelvox {

FunctionRead ReadFunctionForSheet(ConfigAccess& access, FunctionLocation at) {
  FunctionRead read;
  {
    const DomainScope in_domain(access, at.domain);
    read = ReadFunction(access, at);
  }
  if (read.details.facts) {
    // Judged from the whole bus: a link's verdict needs the port above it, and a port's the
    // devices below it.
    read.details.system = SystemPageFields(
        read.details.facts, topology::ReadLinkVerdict(access, at).value_or(kNoLinkVerdict));
  }
  return read;
}

void OpenDetailsSheet(ConfigAccess& access, FunctionLocation at) {
  DetailsSheet sheet(ReadFunctionForSheet(access, at));
  sheet.ShowModal();
}

}  // namespace kelvox
