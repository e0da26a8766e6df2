// Registers the simple controls (labels, panels, bevels, shapes, paint boxes, scroll bars,
// scroll boxes, splitters, control bars, frames) and the tools and pictures they use, with the
// properties layouts set. Called by RegisterFormsClasses.
#pragma once

void RegisterSimpleControlsClasses();
