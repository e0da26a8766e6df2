// The skin gallery: the drawing routines of the skinned controls side by side on one canvas
// (760 x 540): gradients in all ten directions, every frame style, boxes and shadows, LED and
// percent bars, the small glyphs in their looks, check boxes and radio buttons, trapezoid tabs.
#pragma once

#include "platform/forms/TCanvas.h"

constexpr int kSkinGalleryWidth = 760, kSkinGalleryHeight = 540;

void PaintSkinGallery(TCanvas* canvas);
