#pragma once

#include "menu_source_reader.h"
#include "source_pictures.h"
#include "source_table.h"

namespace ambrevo::pack {

// Reads the [[item]] tables of a menu source into menu.items, their pictures into
// menu.pictures and their menu targets into menuTargets.
void ReadItemSources(SourceTable& root, SourcePictures& pictures, MenuSource& menu);

}  // namespace ambrevo::pack
