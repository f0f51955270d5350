#pragma once

#include <array>
#include <memory>

#include "graphics/bitmap.h"

namespace ambrevo {

enum class PictureSet { Normal = 0, Highlighted = 1, Pressed = 2, Description = 3 };

constexpr int kPictureRecords = 101;  // 0 = the window, 1..100 = items
constexpr int kPictureSets = 4;
constexpr int kPictureFrames = 101;  // 0 = still picture, 1..100 = animation frames

// pictures[record][set][frame] of the menu on show. Pictures are immutable and shared:
// a control showing one holds the same pointer, so state changes copy no pixels.
// A record's slots are allocated when its first picture arrives, so an empty table and
// clearing one cost next to nothing.
class PictureTable {
public:
    PictureTable() = default;
    // A copy shares the (immutable) pictures.
    PictureTable(const PictureTable& other);
    PictureTable& operator=(const PictureTable& other);
    PictureTable(PictureTable&&) noexcept = default;
    PictureTable& operator=(PictureTable&&) noexcept = default;

    static bool InRange(int record, int set, int frame);

    // True when the slot holds a picture that is not empty; false outside the table.
    bool HasPicture(int record, int set, int frame) const;
    // The slot's picture, or nullptr.
    std::shared_ptr<const Bitmap> Picture(int record, int set, int frame) const;
    // Replaces the slot's picture. Out-of-range slots are ignored.
    void StorePicture(int record, int set, int frame, std::shared_ptr<const Bitmap> picture);
    void Clear();
    // What other holds in the slot where this table holds picture: of a picture on show,
    // its form for a denser screen. nullptr when no slot here holds it.
    std::shared_ptr<const Bitmap> CounterpartIn(const PictureTable& other,
                                                const Bitmap* picture) const;

private:
    using RecordSlots = std::array<std::shared_ptr<const Bitmap>, kPictureSets * kPictureFrames>;
    std::array<std::unique_ptr<RecordSlots>, kPictureRecords> records_;
};

}  // namespace ambrevo
