#include "pictures/gif/TGIFUnknownAppExtension.h"

void TGIFUnknownAppExtension::LoadData(TStream* stream) { ReadGIFBlocks(stream, blocks_); }

void TGIFUnknownAppExtension::SaveData(TStream* stream) { WriteGIFBlocks(stream, blocks_); }
