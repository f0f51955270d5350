#pragma once

#include "menu_source_reader.h"
#include "picture_composer.h"
#include "source_pictures.h"
#include "source_table.h"

namespace ambrevo::pack {

// Reads the [[item]] tables of a menu source into menu.items, their pictures (composed
// over the backdrop where they are transparent) into menu.pictures and their menu targets
// into menuTargets.
void ReadItemSources(SourceTable& root, SourcePictures& pictures, const PictureBackdrop& backdrop,
                     MenuSource& menu);

}  // namespace ambrevo::pack
