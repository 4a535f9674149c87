#include "kernels/cpu_placement.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <utility>

namespace {

int topologyValue(int cpu, const char* name)
{
    std::ifstream in("/sys/devices/system/cpu/cpu" + std::to_string(cpu) + "/topology/" + name);
    int value = 0;
    if (!(in >> value)) {
        return 0;
    }
    return value;
}

}  // namespace

std::vector<CpuPlace> usableCpus()
{
    std::vector<CpuPlace> places;
    cpu_set_t mask;
    CPU_ZERO(&mask);
    if (sched_getaffinity(0, sizeof mask, &mask) != 0) {
        return places;
    }
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &mask)) {
            places.push_back(CpuPlace{cpu, topologyValue(cpu, "physical_package_id"), topologyValue(cpu, "die_id"),
                                      topologyValue(cpu, "core_id")});
        }
    }
    return places;
}

std::vector<int> spreadOrder(std::vector<CpuPlace> places)
{
    // Group the logical processors by physical core, the cores by die.
    using DieKey = std::pair<int, int>;
    std::map<DieKey, std::map<int, std::vector<int>>> dies;
    std::sort(places.begin(), places.end(), [](const CpuPlace& a, const CpuPlace& b) { return a.cpu < b.cpu; });
    for (const CpuPlace& p : places) {
        dies[{p.package, p.die}][p.core].push_back(p.cpu);
    }

    // Round k takes the k-th processor of every core; within a round the dies
    // take turns, each handing out its cores in order.
    std::vector<int> order;
    for (std::size_t round = 0; order.size() < places.size(); ++round) {
        std::vector<std::vector<int>> perDie;
        for (const auto& [key, cores] : dies) {
            std::vector<int> taken;
            for (const auto& [core, cpus] : cores) {
                if (round < cpus.size()) {
                    taken.push_back(cpus[round]);
                }
            }
            perDie.push_back(std::move(taken));
        }
        for (std::size_t turn = 0;; ++turn) {
            bool any = false;
            for (const std::vector<int>& taken : perDie) {
                if (turn < taken.size()) {
                    order.push_back(taken[turn]);
                    any = true;
                }
            }
            if (!any) {
                break;
            }
        }
    }
    return order;
}

bool pinCurrentThread(int cpu)
{
    if (cpu < 0 || cpu >= CPU_SETSIZE) {
        return false;
    }
    cpu_set_t mask;
    CPU_ZERO(&mask);
    CPU_SET(cpu, &mask);
    return pthread_setaffinity_np(pthread_self(), sizeof mask, &mask) == 0;
}
