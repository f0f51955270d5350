#pragma once

#include "pack/pictures/picture_composer.h"
#include "pack/pictures/source_pictures.h"
#include "pack/source/menu_source_reader.h"
#include "pack/source/source_table.h"

namespace ambrevo::pack {

// Reads the [[item]] tables of a menu source into menu.items, their pictures (composed
// over the backdrop where they are transparent) into menu.pictures and their menu targets
// into menuTargets.
void ReadItemSources(SourceTable& root, SourcePictures& pictures, const PictureBackdrop& backdrop,
                     MenuSource& menu);

}  // namespace ambrevo::pack
