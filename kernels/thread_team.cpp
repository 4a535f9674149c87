#include "kernels/thread_team.h"

#include <system_error>

#include "kernels/cpu_placement.h"

ThreadTeam::ThreadTeam(const std::vector<int>& cpus, const std::function<bool(int)>& setUp)
    : cpus_(cpus), start_(static_cast<std::ptrdiff_t>(cpus.size()), StartAction{this}), threadProblems_(cpus.size())
{
    if (cpus_.empty()) {
        problem_ = "a team needs at least one thread";
        return;
    }
    unready_ = size();
    for (int i = 0; i < size(); ++i) {
        try {
            threads_.emplace_back([this, i, &setUp] { work(i, setUp); });
        } catch (const std::system_error& e) {
            problem_ = std::string("cannot start a thread: ") + e.what();
            unready_.fetch_sub(size() - i);
            break;
        }
    }
    // The threads use setUp, which lives only as long as this call.
    for (int left = unready_.load(); left != 0; left = unready_.load()) {
        unready_.wait(left);
    }
    for (const std::string& p : threadProblems_) {
        if (!p.empty() && problem_.empty()) {
            problem_ = p;
        }
    }
}

ThreadTeam::~ThreadTeam()
{
    // Threads that were started wait for their next run; a short team (a
    // thread could not be started) never ran, so they are all still waiting.
    stopping_ = true;
    generation_.fetch_add(1);
    generation_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

void ThreadTeam::work(int index, const std::function<bool(int)>& setUp)
{
    const int cpu = cpus_[static_cast<std::size_t>(index)];
    if (!pinCurrentThread(cpu)) {
        threadProblems_[static_cast<std::size_t>(index)] = "cannot pin a thread to processor " + std::to_string(cpu);
    } else if (setUp && !setUp(index)) {
        threadProblems_[static_cast<std::size_t>(index)] =
            "the thread on processor " + std::to_string(cpu) + " could not set up its work";
    }
    if (unready_.fetch_sub(1) == 1) {
        unready_.notify_one();
    }

    unsigned seen = 0;
    for (;;) {
        generation_.wait(seen);
        seen = generation_.load();
        if (stopping_) {
            return;
        }
        start_.arrive_and_wait();
        (*body_)(index);
        if (unfinished_.fetch_sub(1) == 1) {
            unfinished_.notify_one();
        }
    }
}

void ThreadTeam::run(const std::function<void()>& onStart, const std::function<void(int)>& body)
{
    if (!problem_.empty()) {
        return;
    }
    onStart_ = &onStart;
    body_ = &body;
    unfinished_ = size();
    generation_.fetch_add(1);
    generation_.notify_all();
    for (int left = unfinished_.load(); left != 0; left = unfinished_.load()) {
        unfinished_.wait(left);
    }
}
