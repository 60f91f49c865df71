#pragma once
// Light-mapped materials rewritten so that the texture factor darkens every light map: the light
// map moves to stage 0, where the factor is subtracted from it, and the surface texture to stage
// 1, which it brightens.

class SceneNode;
struct StateBlock;

// A block whose stage 1 is switched off has no light map and is left alone.
void RewriteLightMappedStages(StateBlock& block);
// Every renderable of the subtree, depth first.
void RewriteLightMaps(SceneNode& node);
