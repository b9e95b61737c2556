// The entry point of qorcfg.
#include <cstdio>

#include "cli/qorcfg.h"

int main(int argc, char** argv) { return RunQorcfg(argc, argv, stdout, stderr); }
