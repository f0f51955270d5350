#include "menu/picture_workers.h"

#include <algorithm>
#include <system_error>

#include "menu/picture_inflater.h"
#include "menu/picture_pixels.h"

namespace ambrevo {

namespace {

constexpr unsigned kMostThreads = 4;

// Decodes the job's block into a new picture, as the reader would have done in place.
void Decode(PictureInflater& inflater, InflateJob& job) {
    try {
        auto picture = NewBitmap(job.width, job.height);
        inflater.InflateLoaded(job.Block(), job.rawSize, PixelData(*picture), PixelBytes(*picture));
        PixelsFromLittleEndian(*picture);
        job.picture = std::move(picture);
    } catch (...) {
        job.error = std::current_exception();
    }
    job.block = {};  // read: its memory goes back now, not when the picture is taken
}

}  // namespace

// One processor is left to the reader, which decodes too while it waits.
PictureWorkers::PictureWorkers()
    : threadCount_(std::clamp(std::thread::hardware_concurrency(), 2u, kMostThreads + 1) - 1) {}

PictureWorkers::~PictureWorkers() {
    {
        const std::lock_guard hold(lock_);
        stopping_ = true;
        queue_.clear();
    }
    jobQueued_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void PictureWorkers::Submit(std::shared_ptr<InflateJob> job) {
    if (!threadsAsked_) StartThreads();
    if (threads_.empty()) {  // the system gave no thread: decoded here instead
        Decode(OwnInflater(), *job);
        job->done = true;
        return;
    }
    bool wake = false;
    {
        const std::lock_guard hold(lock_);
        queue_.push_back(std::move(job));
        wake = idleThreads_ > 0;
    }
    // Waking a thread costs a system call (and under Wine a trip to its server): only
    // one that waits for work is woken.
    if (wake) jobQueued_.notify_one();
}

// Started with the first job, not in the constructor, so a menu without compressed
// pictures costs no threads. Those that start serve; one that cannot is done without, and
// is not asked for again: where the system has no threads at all (the browser player) each
// refusal is an exception, which costs more than decoding a small picture.
void PictureWorkers::StartThreads() {
    threadsAsked_ = true;
    try {
        while (threads_.size() < threadCount_) threads_.emplace_back(&PictureWorkers::Work, this);
    } catch (const std::system_error&) {
    }
}

// Rather than sleep while jobs are still queued, the reader decodes the oldest of them
// itself; only the reader queues jobs, so once none is queued it waits for the workers.
void PictureWorkers::Wait(const InflateJob& job) {
    std::unique_lock hold(lock_);
    while (!job.done && !queue_.empty()) {
        const std::shared_ptr<InflateJob> oldest = std::move(queue_.front());
        queue_.pop_front();
        hold.unlock();
        Decode(OwnInflater(), *oldest);
        hold.lock();
        oldest->done = true;
    }
    awaited_ = &job;
    jobDone_.wait(hold, [&job] { return job.done; });
    awaited_ = nullptr;
}

bool PictureWorkers::IsDone(const InflateJob& job) {
    const std::lock_guard hold(lock_);
    return job.done;
}

PictureInflater& PictureWorkers::OwnInflater() {
    if (!ownInflater_) ownInflater_ = std::make_unique<PictureInflater>();
    return *ownInflater_;
}

void PictureWorkers::Work() {
    PictureInflater inflater;
    std::unique_lock hold(lock_);
    for (;;) {
        ++idleThreads_;
        jobQueued_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
        --idleThreads_;
        if (stopping_) return;
        const std::shared_ptr<InflateJob> job = std::move(queue_.front());
        queue_.pop_front();
        hold.unlock();
        Decode(inflater, *job);
        hold.lock();
        job->done = true;
        if (awaited_ == job.get()) jobDone_.notify_one();
    }
}

}  // namespace ambrevo
