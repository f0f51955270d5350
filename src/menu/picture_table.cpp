#include "menu/picture_table.h"

namespace ambrevo {

PictureTable::PictureTable(const PictureTable& other) { *this = other; }

PictureTable& PictureTable::operator=(const PictureTable& other) {
    if (this == &other) return *this;
    for (std::size_t record = 0; record < records_.size(); ++record) {
        const auto& from = other.records_[record];
        records_[record] = from ? std::make_unique<RecordSlots>(*from) : nullptr;
    }
    return *this;
}

bool PictureTable::InRange(int record, int set, int frame) {
    return record >= 0 && record < kPictureRecords && set >= 0 && set < kPictureSets &&
           frame >= 0 && frame < kPictureFrames;
}

namespace {
int SlotOf(int set, int frame) { return set * kPictureFrames + frame; }
}  // namespace

bool PictureTable::HasPicture(int record, int set, int frame) const {
    const auto picture = Picture(record, set, frame);
    return picture != nullptr && !picture->Empty();
}

std::shared_ptr<const Bitmap> PictureTable::Picture(int record, int set, int frame) const {
    if (!InRange(record, set, frame) || !records_[record]) return nullptr;
    return (*records_[record])[SlotOf(set, frame)];
}

void PictureTable::StorePicture(int record, int set, int frame,
                                std::shared_ptr<const Bitmap> picture) {
    if (!InRange(record, set, frame)) return;
    auto& slots = records_[record];
    if (!slots) slots = std::make_unique<RecordSlots>();
    (*slots)[SlotOf(set, frame)] = std::move(picture);
}

void PictureTable::Clear() {
    for (auto& slots : records_) slots.reset();
}

std::shared_ptr<const Bitmap> PictureTable::CounterpartIn(const PictureTable& other,
                                                          const Bitmap* picture) const {
    if (picture == nullptr) return nullptr;
    for (std::size_t record = 0; record < records_.size(); ++record) {
        if (!records_[record] || !other.records_[record]) continue;
        const RecordSlots& slots = *records_[record];
        for (std::size_t slot = 0; slot < slots.size(); ++slot) {
            if (slots[slot].get() == picture) return (*other.records_[record])[slot];
        }
    }
    return nullptr;
}

}  // namespace ambrevo
