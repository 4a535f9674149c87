// The version of this build of the benchmark, the one the package carries
// (the project version in the top CMakeLists.txt): "1.30".
#pragma once

const char* benchmarkVersion();
