// Finds the compressed picture streams of a program or package file and times libdeflate
// decoding them all on every processor: the decoding part of the floors that
// bench/time_to_window.py and bench/web_first_frame.py print their figures beside.
// Prints one JSON object: the streams' count and bytes, the threads, the median of the
// runs in milliseconds and, with --list, every stream as [offset, length, raw size].
//   stream_floor [--runs N] [--list] FILE

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture_streams.h"

namespace {

using ambrevo::bench::PictureStream;

int Usage(const char* program) {
    std::fprintf(stderr, "usage: %s [--runs N] [--list] FILE\n", program);
    return 2;
}

// The median of `runs` timed decodes, in milliseconds; negative when a stream fails.
double MedianMilliseconds(const std::vector<unsigned char>& bytes,
                          const std::vector<PictureStream>& streams, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (!ambrevo::bench::InflateOnThreads(bytes, streams, ambrevo::bench::ProcessorCount())) {
            return -1;
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 9;
    bool list = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--list") == 0) {
            list = true;
        } else if (argv[i][0] != '-' && !path) {
            path = argv[i];
        } else {
            return Usage(argv[0]);
        }
    }
    if (!path || runs < 1) return Usage(argv[0]);
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    const std::vector<PictureStream> streams = ambrevo::bench::FindPictureStreams(bytes);
    const double milliseconds = MedianMilliseconds(bytes, streams, runs);
    if (milliseconds < 0) {
        std::fprintf(stderr, "%s: a picture stream did not decode\n", path);
        return 1;
    }
    std::size_t compressed = 0;
    std::size_t raw = 0;
    for (const PictureStream& stream : streams) {
        compressed += stream.length;
        raw += stream.rawSize;
    }
    std::printf(
        "{\"streams\": %zu, \"compressed_bytes\": %zu, \"raw_bytes\": %zu, "
        "\"threads\": %u, \"median_ms\": %.3f",
        streams.size(), compressed, raw, ambrevo::bench::ProcessorCount(), milliseconds);
    if (list) {
        std::printf(", \"list\": [");
        for (std::size_t i = 0; i < streams.size(); ++i) {
            std::printf("%s[%zu, %zu, %u]", i ? ", " : "", streams[i].offset, streams[i].length,
                        streams[i].rawSize);
        }
        std::printf("]");
    }
    std::printf("}\n");
    return 0;
}
