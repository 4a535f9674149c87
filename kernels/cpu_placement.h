// Where the threads of an all-core run go: the processors this process may
// use, read from its affinity mask and the sysfs topology, and an order that
// puts one thread on each physical core before any core gets a second, and
// spreads consecutive threads across packages and dies.
#pragma once

#include <vector>

struct CpuPlace {
    int cpu = 0;      // logical processor number, as sched_setaffinity takes it
    int package = 0;  // physical_package_id
    int die = 0;      // die_id within the package (0 where the kernel does not say)
    int core = 0;     // core_id within the die
};

// The processors of this process's affinity mask with their places; an
// unreadable topology file counts as 0.  Empty only if the mask cannot be read.
std::vector<CpuPlace> usableCpus();

// The processors in the order threads should take them: first one logical
// processor of every physical core, dealt round-robin over the (package, die)
// groups, then the second processors of each core the same way, and so on.
// Within a group cores keep their (core, cpu) order.
std::vector<int> spreadOrder(std::vector<CpuPlace> places);

// Binds the calling thread to one logical processor; false if refused.
bool pinCurrentThread(int cpu);
