// A fixed team of threads, each pinned to its own processor, that run a body
// together again and again.  Every run starts at a barrier: no thread begins
// before all have arrived, and the last to arrive first calls a start action
// (the place to read the clock), so a run's time can be taken from the moment
// all are released.
#pragma once

#include <atomic>
#include <barrier>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class ThreadTeam {
public:
    // Starts one thread per entry of `cpus`, pinned to that processor.  Each
    // thread then calls setUp(its index) on itself, so what setUp allocates
    // and first writes lands in the memory nearest that processor.  Returns
    // once every thread has done so.
    explicit ThreadTeam(const std::vector<int>& cpus, const std::function<bool(int)>& setUp = {});
    ~ThreadTeam();
    ThreadTeam(const ThreadTeam&) = delete;
    ThreadTeam& operator=(const ThreadTeam&) = delete;

    int size() const { return static_cast<int>(cpus_.size()); }
    // Empty when every thread was started, pinned and set up; otherwise the
    // first thing that went wrong, and run() does nothing.
    const std::string& problem() const { return problem_; }

    // One run: onStart once, on the last thread to reach the barrier, then
    // body(i) on every thread i at once.  Returns when all bodies have.
    void run(const std::function<void()>& onStart, const std::function<void(int)>& body);

private:
    struct StartAction {
        ThreadTeam* team;
        void operator()() noexcept { (*team->onStart_)(); }
    };

    void work(int index, const std::function<bool(int)>& setUp);

    std::vector<int> cpus_;
    std::string problem_;
    std::barrier<StartAction> start_;
    std::atomic<unsigned> generation_{0};  // bumped to hand out a run
    std::atomic<int> unfinished_{0};       // bodies of this run still going
    std::atomic<int> unready_{0};          // threads still setting up
    bool stopping_ = false;
    const std::function<void()>* onStart_ = nullptr;
    const std::function<void(int)>* body_ = nullptr;
    std::vector<std::string> threadProblems_;
    std::vector<std::thread> threads_;
};
