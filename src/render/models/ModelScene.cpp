#include "render/models/ModelScene.h"

#include <assimp/cimport.h>
#include <assimp/scene.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

namespace {

bool Fail(std::string &error, const char *text)
{
    error = text;
    return false;
}

bool CheckMesh(const aiScene &scene, const aiMesh *mesh, long &corners, std::string &error)
{
    corners = 0;
    if (!mesh)
        return Fail(error, "a mesh is missing");
    if (mesh->mNumVertices > 0 && !mesh->mVertices)
        return Fail(error, "a mesh has no vertex array");
    if (mesh->mNumFaces > 0 && !mesh->mFaces)
        return Fail(error, "a mesh has no face array");
    if (mesh->mMaterialIndex >= scene.mNumMaterials)
        return Fail(error, "a mesh names a material that does not exist");
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace &face = mesh->mFaces[f];
        if (face.mNumIndices > 0 && !face.mIndices)
            return Fail(error, "a face has no index array");
        corners += face.mNumIndices;
        if (corners > MODEL_MAX_PLACED_CORNERS)
            return Fail(error, "the model is too large to draw");
        for (unsigned i = 0; i < face.mNumIndices; ++i)
            if (face.mIndices[i] >= mesh->mNumVertices)
                return Fail(error, "a face names a vertex that does not exist");
    }
    return true;
}

bool CheckTextures(const aiScene &scene, std::string &error)
{
    if (scene.mNumTextures > 0 && !scene.mTextures)
        return Fail(error, "the texture array is missing");
    for (unsigned t = 0; t < scene.mNumTextures; ++t) {
        const aiTexture *tex = scene.mTextures[t];
        if (!tex || !tex->pcData)
            return Fail(error, "an embedded texture is missing");
        if (tex->mHeight != 0 && (tex->mWidth == 0 || tex->mWidth > MODEL_MAX_TEXTURE_SIDE ||
                                  tex->mHeight > MODEL_MAX_TEXTURE_SIDE))
            return Fail(error, "an embedded texture has an impossible size");
    }
    return true;
}

class TNodeWalk {
public:
    TNodeWalk(const aiScene &scene, const std::vector<long> &corners, TModelBounds &bounds, std::string &error)
        : Scene_(scene), Corners_(corners), Bounds_(bounds), Error_(error)
    {
    }

    bool Visit(const aiNode *node, const aiMatrix4x4 &parent, int depth)
    {
        if (!node)
            return Fail(Error_, "a node is missing");
        if (depth > MODEL_MAX_NODE_DEPTH)
            return Fail(Error_, "the node tree is too deep");
        if (++Visits_ > MODEL_MAX_NODE_VISITS)
            return Fail(Error_, "the node tree is too large");
        aiMatrix4x4 m = parent;
        aiMultiplyMatrix4(&m, &node->mTransformation);
        if (node->mNumMeshes > 0 && !node->mMeshes)
            return Fail(Error_, "a node has no mesh list");
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            const unsigned index = node->mMeshes[i];
            if (index >= Scene_.mNumMeshes)
                return Fail(Error_, "a node names a mesh that does not exist");
            if (!Place(*Scene_.mMeshes[index], Corners_[index]))
                return false;
            Widen(*Scene_.mMeshes[index], m);
        }
        if (node->mNumChildren > 0 && !node->mChildren)
            return Fail(Error_, "a node has no child list");
        for (unsigned c = 0; c < node->mNumChildren; ++c)
            if (!Visit(node->mChildren[c], m, depth + 1))
                return false;
        return true;
    }

private:
    // Counts one more placement of a mesh against the budgets, before any
    // of its vertices is touched.
    bool Place(const aiMesh &mesh, long corners)
    {
        if (++Placements_ > MODEL_MAX_MESH_PLACEMENTS)
            return Fail(Error_, "the model places its meshes too many times");
        Bounds_.Vertices += mesh.mNumVertices;
        Bounds_.Faces += mesh.mNumFaces;
        Bounds_.Corners += corners;
        const char *what = Bounds_.Vertices > MODEL_MAX_PLACED_VERTICES ? "vertices"
                           : Bounds_.Faces > MODEL_MAX_PLACED_FACES || Bounds_.Corners > MODEL_MAX_PLACED_CORNERS
                               ? "faces"
                               : nullptr;
        if (!what)
            return true;
        const long limit = what[0] == 'v' ? MODEL_MAX_PLACED_VERTICES : MODEL_MAX_PLACED_FACES;
        Error_ = "the model is too large to draw: more than " + std::to_string(limit) + " " + what +
                 " once its nodes have placed their meshes";
        return false;
    }

    void Widen(const aiMesh &mesh, const aiMatrix4x4 &m)
    {
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            aiVector3D p = mesh.mVertices[v];
            aiTransformVecByMatrix4(&p, &m);
            const float c[3] = {p.x, p.y, p.z};
            for (int a = 0; a < 3; ++a) {
                if (c[a] > Bounds_.Max[a])
                    Bounds_.Max[a] = c[a];
                if (c[a] < Bounds_.Min[a])
                    Bounds_.Min[a] = c[a];
            }
        }
    }

    const aiScene &Scene_;
    const std::vector<long> &Corners_;
    TModelBounds &Bounds_;
    std::string &Error_;
    long Visits_ = 0;
    long Placements_ = 0;
};

} // namespace

bool CheckModelScene(const aiScene &scene, TModelBounds &bounds, std::string &error)
{
    bounds = TModelBounds{};
    if (!scene.mRootNode)
        return Fail(error, "the model has no root node");
    if (scene.mNumMeshes > 0 && !scene.mMeshes)
        return Fail(error, "the mesh array is missing");
    if (scene.mNumMaterials > 0 && !scene.mMaterials)
        return Fail(error, "the material array is missing");
    for (unsigned m = 0; m < scene.mNumMaterials; ++m)
        if (!scene.mMaterials[m])
            return Fail(error, "a material is missing");
    std::vector<long> corners(scene.mNumMeshes, 0);
    for (unsigned m = 0; m < scene.mNumMeshes; ++m)
        if (!CheckMesh(scene, scene.mMeshes[m], corners[m], error))
            return false;
    if (!CheckTextures(scene, error))
        return false;
    aiMatrix4x4 identity;
    aiIdentityMatrix4(&identity);
    TNodeWalk walk(scene, corners, bounds, error);
    if (!walk.Visit(scene.mRootNode, identity, 0))
        return false;
    if (bounds.Vertices == 0)
        return Fail(error, "the model has no vertices");
    for (int a = 0; a < 3; ++a)
        if (!std::isfinite(bounds.Min[a]) || !std::isfinite(bounds.Max[a]))
            return Fail(error, "the model's coordinates are not finite");
    return true;
}

namespace {

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool IsPlyType(std::string_view t)
{
    static constexpr std::string_view types[] = {"char",  "uchar", "short",  "ushort",  "int",    "uint",
                                                 "float", "double", "int8",  "uint8",   "int16",  "uint16",
                                                 "int32", "uint32", "float32", "float64"};
    for (std::string_view k : types)
        if (t == k)
            return true;
    return false;
}

bool IsCount(std::string_view t)
{
    if (t.empty() || t.size() > 10)
        return false;
    for (char c : t)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// One header line of a PLY file; only the forms the format has.
bool PlyLineSound(std::string_view line, bool &inElement)
{
    for (char c : line)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || static_cast<unsigned char>(c) > 0x7e)
            return false;
    const std::vector<std::string_view> w = Words(line);
    if (w.empty())
        return true;
    if (w[0] == "comment" || w[0] == "obj_info")
        return true;
    if (w[0] == "format")
        return w.size() == 3 && (w[1] == "ascii" || w[1] == "binary_little_endian" || w[1] == "binary_big_endian");
    if (w[0] == "element") {
        inElement = true;
        return w.size() == 3 && IsCount(w[2]);
    }
    if (w[0] == "property") {
        if (!inElement)
            return false;
        if (w.size() == 3)
            return IsPlyType(w[1]);
        return w.size() == 5 && w[1] == "list" && IsPlyType(w[2]) && IsPlyType(w[3]);
    }
    return false;
}

} // namespace

bool ModelHeadReadable(const char *head, std::size_t size, const std::string &ext, std::string &error)
{
    const std::string_view text(head ? head : "", head ? size : 0);
    if (ext != ".ply" && text.substr(0, 3) != "ply")
        return true;
    const std::string_view window = text.substr(0, MODEL_MAX_PLY_HEADER);
    const std::size_t end = window.find("end_header");
    if (end == std::string_view::npos)
        return Fail(error, "the PLY header does not end");
    // The importer loops on header lines it does not expect: every line
    // must be one of the forms the format has.
    std::string_view header = window.substr(0, end);
    bool inElement = false, first = true;
    while (!header.empty()) {
        const std::size_t nl = header.find('\n');
        std::string_view line = header.substr(0, nl);
        header = nl == std::string_view::npos ? std::string_view() : header.substr(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            first = false;
            if (line != "ply")
                return Fail(error, "the PLY header is not text");
            continue;
        }
        if (!PlyLineSound(line, inElement))
            return Fail(error, "the PLY header is not text");
    }
    return true;
}

int EmbeddedTextureIndex(const char *path, unsigned count)
{
    if (!path || path[0] != '*' || path[1] == '\0')
        return -1;
    unsigned long n = 0;
    for (const char *p = path + 1; *p; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
        n = n * 10 + static_cast<unsigned>(*p - '0');
        if (n >= count)
            return -1;
    }
    return static_cast<int>(n);
}

} // namespace kalvion
