/* The decoding part of the browser page's floor, built to WebAssembly by
   bench/web_first_frame.py: libdeflate, as the browser player has it, inflating a package's
   picture streams one after another on the page's one thread. */

#include <stdlib.h>

#include "libdeflate.h"

static struct libdeflate_decompressor* decompressor;
static unsigned char* out;
static size_t capacity;

/* Inflates streams first to end - 1 of `package`, each given as offset, length and raw size
   in `streams`, into one buffer kept between calls, so that the page may decode the streams
   whose bytes have arrived while the rest download. Returns -1 when each gives exactly its
   raw size, else the index of the first that does not. */
int floor_inflate(const unsigned char* package, const int* streams, int first, int end) {
    if (!decompressor) decompressor = libdeflate_alloc_decompressor();
    if (!decompressor) return first;
    for (int i = first; i < end; ++i) {
        const int* stream = streams + 3 * i;
        const size_t raw = (size_t)stream[2];
        if (raw > capacity) {
            free(out);
            out = malloc(raw);
            capacity = out ? raw : 0;
            if (!out) return i;
        }
        size_t in_bytes = 0;
        size_t out_bytes = 0;
        if (libdeflate_zlib_decompress_ex(decompressor, package + stream[0], (size_t)stream[1], out,
                                          raw, &in_bytes, &out_bytes) != LIBDEFLATE_SUCCESS ||
            in_bytes != (size_t)stream[1] || out_bytes != raw) {
            return i;
        }
    }
    return -1;
}
