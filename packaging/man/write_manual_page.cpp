// Writes a manual page at build time: `write_manual_page kelvox-cli|kelvox FILE` writes that
// program's page, as roff, to FILE. The pages are made from the programs' own help texts
// (cli/manual_page.h, ui/app_manual_page.h).
#include <cstdio>
#include <fstream>
#include <string>

#include "cli/manual_page.h"
#include "kelvox/version.h"
#ifdef KELVOX_WITH_WINDOW_PAGE
#include "ui/app_manual_page.h"
#endif

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: write_manual_page kelvox-cli|kelvox FILE\n");
    return 2;
  }
  const std::string program = argv[1];
  std::string page;
  if (program == "kelvox-cli") {
    page = kelvox::cli::CliManualPage(KELVOX_VERSION);
#ifdef KELVOX_WITH_WINDOW_PAGE
  } else if (program == "kelvox") {
    page = kelvox::AppManualPage(KELVOX_VERSION);
#endif
  } else {
    std::fprintf(stderr, "write_manual_page: no page for '%s'\n", argv[1]);
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << page;
  out.close();
  if (!out) {
    std::fprintf(stderr, "write_manual_page: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
