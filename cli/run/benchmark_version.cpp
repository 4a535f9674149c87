#include "cli/run/benchmark_version.h"

const char* benchmarkVersion() { return PELORIN_VERSION; }
