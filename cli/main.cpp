// kelvox-cli: the terminal front end. Everything it does is in RunCli; this only hands over the
// command line and the process's streams.
#include <iostream>
#include <string>
#include <vector>

#include "cli/run_cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = kelvox::cli::RunCli(args, std::cout, std::cerr);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "kelvox-cli: cannot write to standard output\n";
    return 1;
  }
  return status;
}
