// The editor's compiled-in resources: the windows' layouts (named after their form classes) and
// the skin pictures of resources/skin/editor (named after their files, without ".bmp").
#pragma once

// Registers them once; call before the first window of the editor is made.
void RegisterEditorResources();
