#include "menu/picture_table.h"

#include <algorithm>

namespace ambrevo {

bool PictureTable::InRange(int record, int set, int frame) {
    return record >= 0 && record < kPictureRecords && set >= 0 && set < kPictureSets &&
           frame >= 0 && frame < kPictureFrames;
}

std::size_t PictureTable::Index(int record, int set, int frame) {
    return (static_cast<std::size_t>(record) * kPictureSets + static_cast<std::size_t>(set)) *
               kPictureFrames +
           static_cast<std::size_t>(frame);
}

bool PictureTable::HasPicture(int record, int set, int frame) const {
    if (!InRange(record, set, frame)) return false;
    const auto& slot = slots_[Index(record, set, frame)];
    return slot != nullptr && !slot->Empty();
}

std::shared_ptr<const Bitmap> PictureTable::Picture(int record, int set, int frame) const {
    if (!InRange(record, set, frame)) return nullptr;
    return slots_[Index(record, set, frame)];
}

void PictureTable::StorePicture(int record, int set, int frame,
                                std::shared_ptr<const Bitmap> picture) {
    if (!InRange(record, set, frame)) return;
    slots_[Index(record, set, frame)] = std::move(picture);
}

void PictureTable::Clear() { std::fill(slots_.begin(), slots_.end(), nullptr); }

}  // namespace ambrevo
