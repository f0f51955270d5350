#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "services/file_system.h"
#include "graphics/bitmap.h"

namespace ambrevo {

class PictureInflater;

// The largest zlib stream handed to a worker: a full-window background fits, and the
// blocks read ahead stay a few megabytes at most.
constexpr std::int64_t kHandOffLimit = 4 * 1024 * 1024;

// A compressed picture block read whole, to be decoded on a worker thread into a new
// width x height picture (allocated there, so that its memory is warm in that
// processor's cache when the pixels are written). The worker fills picture, or error
// with what decoding threw.
struct InflateJob {
    // The block's zlib stream: in place where the package lies in memory, else a copy
    // read for the job. Both go once the job is decoded.
    BytesInMemory block;
    std::span<const unsigned char> Block() const { return block.bytes; }
    std::uint32_t rawSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::shared_ptr<Bitmap> picture;
    std::exception_ptr error;
    bool done = false;  // guarded by the workers' lock
};

// A few threads that decode picture blocks while the menu reader moves on; each keeps its
// own decoder state. The threads start with the first job. Jobs still queued when the
// workers are destroyed are dropped; a job being decoded then is finished first.
class PictureWorkers {
public:
    // The number of threads: one per processor but the reader's, at least one and at
    // most four.
    PictureWorkers();
    ~PictureWorkers();
    PictureWorkers(const PictureWorkers&) = delete;
    PictureWorkers& operator=(const PictureWorkers&) = delete;

    // How far the reader may read ahead of the oldest picture not yet taken: far enough
    // to keep every decoding thread (the workers and the waiting reader) busy, near
    // enough to bound the memory held.
    std::size_t MaxPicturesAhead() const { return 32 * (threadCount_ + 1); }
    std::int64_t MaxBytesAhead() const {
        return std::int64_t{4} * 1024 * 1024 * (threadCount_ + 1);
    }
    // Small blocks may decode to large pictures (a deflate stream inflates up to a
    // thousandfold), so the pictures ahead are bounded by their own size too: a few
    // full-window backgrounds per decoding thread.
    std::int64_t MaxPictureBytesAhead() const {
        return std::int64_t{16} * 1024 * 1024 * (threadCount_ + 1);
    }

    void Submit(std::shared_ptr<InflateJob> job);
    // Waits until the job is done, decoding queued jobs meanwhile; then its picture or
    // error may be read. Only one thread, the reader, queues jobs and waits.
    void Wait(const InflateJob& job);
    // True when the job is done; never waits.
    bool IsDone(const InflateJob& job);

private:
    void StartThreads();
    void Work();
    PictureInflater& OwnInflater();

    const unsigned threadCount_;
    std::vector<std::thread> threads_;
    bool threadsAsked_ = false;  // StartThreads has run: it is not tried again
    std::mutex lock_;
    std::condition_variable jobQueued_;
    std::condition_variable jobDone_;
    std::deque<std::shared_ptr<InflateJob>> queue_;
    unsigned idleThreads_ = 0;             // threads waiting for a job
    const InflateJob* awaited_ = nullptr;  // the job the reader waits for
    bool stopping_ = false;
    std::unique_ptr<PictureInflater> ownInflater_;  // the reader's, made when first needed
};

}  // namespace ambrevo
