#pragma once

#include "pack/pictures/density_backdrops.h"
#include "pack/pictures/source_pictures.h"
#include "pack/source/menu_source_reader.h"
#include "pack/source/source_table.h"

namespace ambrevo::pack {

// Reads the [[item]] tables of a menu source into menu.items, their pictures (composed
// over the backdrop where they are transparent) into menu.pictures, their variants for
// high density (composed over the backdrop at their density) into menu.densityPictures and
// their menu targets into menuTargets.
void ReadItemSources(SourceTable& root, SourcePictures& pictures, DensityBackdrops& backdrops,
                     MenuSource& menu);

}  // namespace ambrevo::pack
