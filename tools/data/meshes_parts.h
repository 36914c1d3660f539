// The mesh files of the data tree, made in themed groups by GenerateMeshes.
#pragma once

#include <string_view>

#include "tools/data/data_tree.h"
#include "tools/data/meshes_builder.h"

namespace zandrel::data::meshes {

// Adds "3DO/GAME/<name>.3DO" (or "3DO/EDITOR/<name>.3DO" when `folder` says so).
void AddMeshFile(DataTree& tree, std::string_view name, const MeshBuilder& mesh, std::string_view folder = "GAME");

void AddActorMeshes(DataTree& tree);    // the hero's poses, his shadow, the sentry
void AddObjectMeshes(DataTree& tree);   // pickups, ladder, spring, levers, doors
void AddSceneryMeshes(DataTree& tree);  // ramps, step, diggings, pools, spikes, decoration, gate, sky
void AddScreenMeshes(DataTree& tree);   // transitions, podium, flag, editor markers

}  // namespace zandrel::data::meshes
