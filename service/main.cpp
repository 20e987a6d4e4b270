// lumora-service: the reference Lumora messaging service and its admin command line.
#include <iostream>
#include <string>
#include <vector>

#include "service/commands.h"

int main(int argc, char** argv) {
  return lumora::run_command(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                             std::cerr);
}
