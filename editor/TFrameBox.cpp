#include "editor/TFrameBox.h"

TFrameBox* FrameBox = nullptr;

void TFrameBox::Loaded() { Box_Label = LoadedWithLabel("Box_Label", "STR_Main_Error_Page"); }
