// corvane-extract: the extraction from the command line, without a dialogue.
#include "extract/command_main.hpp"

int main(int argc, char** argv) { return corvane::extract::command_main(argc, argv); }
