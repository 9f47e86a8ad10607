#pragma once
// Checks of an imported model scene.  Model files come from anywhere and the
// importer runs without its own validation, so every index a file supplies is
// checked here before anything is drawn: a scene that fails is not used.
#include <array>
#include <cstddef>
#include <string>

struct aiScene;

namespace kalvion {

// Deeper node trees than this are refused (the walk is recursive).
inline constexpr int MODEL_MAX_NODE_DEPTH = 128;
// Node visits of one walk; shared subtrees cannot multiply past this.
inline constexpr long MODEL_MAX_NODE_VISITS = 1L << 20;
// What one model may put into a display list once every node has placed its
// meshes: a node can place one mesh thousands of times, so a small file can
// ask for more vertices than memory holds.  Far above any model a view
// shows, far below what brings the GL driver down.
inline constexpr long MODEL_MAX_PLACED_VERTICES = 5'000'000;
inline constexpr long MODEL_MAX_PLACED_FACES = 5'000'000;
// Face corners (one GL vertex each), room for every face a triangle or quad.
inline constexpr long MODEL_MAX_PLACED_CORNERS = 4 * MODEL_MAX_PLACED_FACES;
// Meshes placed by all nodes together; each costs state changes of its own.
inline constexpr long MODEL_MAX_MESH_PLACEMENTS = 1L << 20;
// Embedded raw textures larger than this on either side are refused.
inline constexpr unsigned MODEL_MAX_TEXTURE_SIDE = 16384;
// PLY headers longer than this are refused.
inline constexpr std::size_t MODEL_MAX_PLY_HEADER = 64 * 1024;

struct TModelBounds {
    std::array<float, 3> Max{-3.4e38f, -3.4e38f, -3.4e38f};
    std::array<float, 3> Min{3.4e38f, 3.4e38f, 3.4e38f};
    long Vertices = 0;  // vertices reached through the node tree
    long Faces = 0;     // faces reached through the node tree
    long Corners = 0;   // their indices, one drawn vertex each
};

// True when the scene is safe to draw: every node, mesh, face, material and
// embedded texture is present, every index is in range, the node tree is
// bounded, at least one vertex is reached, what the node tree places stays
// within the MODEL_MAX_PLACED_* budgets and the bounds are finite.
// Otherwise false with the reason in `error`.  The bounds are those of
// every vertex reached, transformed by its node's accumulated matrix.
bool CheckModelScene(const aiScene &scene, TModelBounds &bounds, std::string &error);

// False, with the reason, for the start of a model file that the importer
// is known to loop on instead of refusing: a PLY file (by its extension
// `ext`, lower case with the dot, or by its first bytes) whose header does
// not end within its first 64 KiB or holds a line that is not one of the
// format's forms (format, comment, obj_info, element, property).
bool ModelHeadReadable(const char *head, std::size_t size, const std::string &ext, std::string &error);

// The index N of an embedded texture reference "*N", or -1 when the text is
// no such reference or N is not below `count`.
int EmbeddedTextureIndex(const char *path, unsigned count);

} // namespace kalvion
