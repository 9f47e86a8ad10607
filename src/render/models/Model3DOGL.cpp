#include "render/models/Model3DOGL.h"

#include "render/GLHeaders.h"

#include <assimp/cimport.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kalvion {

namespace {

std::string FolderOf(const std::string &fileName)
{
    const std::string folder = std::filesystem::path(fileName).parent_path().string();
    return folder.empty() ? std::string() : folder + "/";
}

std::string TextText(const aiString &s)
{
    const std::size_t n = std::min<std::size_t>(s.length, MAXLEN - 1);
    return std::string(s.data, n);
}

void MaterialColor(const aiMaterial &m, const char *key, GLenum param, const GLfloat (&fallback)[4])
{
    aiColor4D c;
    if (aiGetMaterialColor(&m, key, 0, 0, &c) == aiReturn_SUCCESS) {
        const GLfloat v[4] = {c.r, c.g, c.b, c.a};
        glMaterialfv(GL_FRONT_AND_BACK, param, v);
    } else {
        glMaterialfv(GL_FRONT_AND_BACK, param, fallback);
    }
}

bool MaterialFloat(const aiMaterial &m, const char *key, float &value)
{
    unsigned max = 1;
    ai_real v = 0;
    if (aiGetMaterialFloatArray(&m, key, 0, 0, &v, &max) != aiReturn_SUCCESS || max < 1)
        return false;
    value = static_cast<float>(v);
    return true;
}

bool MaterialFlag(const aiMaterial &m, const char *key)
{
    unsigned max = 1;
    int v = 0;
    return aiGetMaterialIntegerArray(&m, key, 0, 0, &v, &max) == aiReturn_SUCCESS && max >= 1 && v != 0;
}

GLenum PrimitiveOf(unsigned indices)
{
    switch (indices) {
    case 1:
        return GL_POINTS;
    case 2:
        return GL_LINES;
    case 3:
        return GL_TRIANGLES;
    default:
        return GL_POLYGON;
    }
}

} // namespace

float MaterialShininess(const aiMaterial &material, bool &specular)
{
    float shininess = 0, strength = 0;
    specular = MaterialFloat(material, "$mat.shininess", shininess) &&
               MaterialFloat(material, "$mat.shinpercent", strength);
    if (!specular)
        return 0;
    // GL takes exponents 0 … 128 only; files say anything.
    const float e = shininess * strength;
    return std::isfinite(e) ? std::clamp(e, 0.0f, 128.0f) : 0.0f;
}

T3DModelOGL::T3DModelOGL(std::string fileName) : T3DModel(std::move(fileName)) {}

// GL objects can only go with their context current; the views release them
// through the manager before a context ends (ReleaseContext).
T3DModelOGL::~T3DModelOGL() = default;

void T3DModelOGL::ReleaseContext(int context)
{
    const int c = context & 1;
    if (Lists_[c] != 0) {
        glDeleteLists(Lists_[c], 1);
        Lists_[c] = 0;
    }
    for (TModelTexture &t : Textures_)
        if (t.GLName[c] != 0) {
            glDeleteTextures(1, &t.GLName[c]);
            t.GLName[c] = 0;
        }
}

void T3DModelOGL::ForgetGL()
{
    ReleaseContext(ContextIndex);
    // The other context's names cannot be deleted from this one; deleting
    // them here could hit an unrelated object of this context.
    Lists_ = {0, 0};
    Textures_.clear();
    MaterialTextures_.clear();
    TexturesResolved_ = false;
    EmbeddedRegistered_ = false;
}

void T3DModelOGL::Reload()
{
    ForgetGL();
    Load();
}

void T3DModelOGL::Unload()
{
    ForgetGL();
    Release();
}

int T3DModelOGL::FindTexture(const std::string &name) const
{
    for (std::size_t i = 0; i < Textures_.size(); ++i)
        if (Textures_[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

int T3DModelOGL::MaterialTexture(unsigned material) const
{
    return material < MaterialTextures_.size() ? MaterialTextures_[material] : -1;
}

void T3DModelOGL::ResolveTextures()
{
    if (TexturesResolved_ || !Loaded())
        return;
    const aiScene &scene = *Scene();
    if (!EmbeddedRegistered_) {
        for (TModelTexture &entry : EmbeddedTextureEntries(scene))
            Textures_.push_back(std::move(entry));
        EmbeddedRegistered_ = true;
    }
    const std::string folder = FolderOf(FileName());
    MaterialTextures_.assign(scene.mNumMaterials, -1);
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        const aiMaterial *material = scene.mMaterials[m];
        if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) == 0)
            continue;
        aiString raw;
        if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &raw, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr) != aiReturn_SUCCESS)
            continue;
        const std::string path = TextText(raw);
        if (path.empty())
            continue;
        if (path[0] == '*') {
            // Only references to textures the scene really holds count.
            const int n = EmbeddedTextureIndex(path.c_str(), scene.mNumTextures);
            MaterialTextures_[m] = n < 0 ? -1 : FindTexture(path);
            continue;
        }
        const std::string file = ResolveTextureFile(folder, path);
        if (file.empty())
            continue;
        int index = FindTexture(file);
        if (index < 0) {
            TModelTexture entry;
            entry.Name = file;
            LoadTextureFile(file, entry);  // undecodable: kept without texels
            Textures_.push_back(std::move(entry));
            index = static_cast<int>(Textures_.size()) - 1;
        }
        MaterialTextures_[m] = index;
    }
    TexturesResolved_ = true;
}

void T3DModelOGL::Compile()
{
    const int c = ContextIndex & 1;
    ResolveTextures();
    // Textures are made before the list: uploads inside GL_COMPILE would be
    // recorded into the list instead of made.
    for (int index : MaterialTextures_)
        if (index >= 0 && Textures_[index].GLName[c] == 0)
            Textures_[index].GLName[c] = UploadModelTexture(Textures_[index]);
    Lists_[c] = glGenLists(1);
    if (Lists_[c] == 0)
        return;
    glNewList(Lists_[c], GL_COMPILE);
    RenderNode(*Scene()->mRootNode, 0);
    glEndList();
}

void T3DModelOGL::Draw()
{
    if (!Loaded())
        return;
    const int c = ContextIndex & 1;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_POLYGON_SMOOTH);
    glEnable(GL_MULTISAMPLE);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_TEXTURE_2D);
    if (Lists_[c] == 0)
        Compile();
    glPushMatrix();
    const float s = FitScale();
    glScalef(s, s, s);
    glTranslatef(CentreOffset()[0], CentreOffset()[1], CentreOffset()[2]);
    if (Lists_[c] != 0)
        glCallList(Lists_[c]);
    glPopMatrix();
    glPopAttrib();
}

void T3DModelOGL::RenderNode(const aiNode &node, int depth)
{
    if (depth > MODEL_MAX_NODE_DEPTH)
        return;
    const aiScene &scene = *Scene();
    glPushMatrix();
    // The importer's matrices are row-major, GL's column-major.
    aiMatrix4x4 m = node.mTransformation;
    aiTransposeMatrix4(&m);
    glMultMatrixf(&m.a1);
    for (unsigned i = 0; i < node.mNumMeshes; ++i)
        RenderMesh(*scene.mMeshes[node.mMeshes[i]]);
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        RenderNode(*node.mChildren[i], depth + 1);
    glPopMatrix();
}

void T3DModelOGL::ApplyMaterial(const aiMaterial &material)
{
    static const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    static const GLfloat black[4] = {0, 0, 0, 1};
    static const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    static const GLfloat none[4] = {0, 0, 0, 0};
    MaterialColor(material, "$clr.diffuse", GL_DIFFUSE, diffuse);
    MaterialColor(material, "$clr.specular", GL_SPECULAR, black);
    MaterialColor(material, "$clr.ambient", GL_AMBIENT, ambient);
    MaterialColor(material, "$clr.emissive", GL_EMISSION, black);
    bool specular = false;
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, MaterialShininess(material, specular));
    if (!specular)
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glPolygonMode(GL_FRONT_AND_BACK, MaterialFlag(material, "$mat.wireframe") ? GL_LINE : GL_FILL);
    if (MaterialFlag(material, "$mat.twosided"))
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);
}

void T3DModelOGL::RenderMesh(const aiMesh &mesh)
{
    const int c = ContextIndex & 1;
    const aiScene &scene = *Scene();
    const aiColor4D *colours = mesh.mColors[0];
    const aiVector3D *normals = mesh.mNormals;
    const aiVector3D *uv = mesh.mTextureCoords[0];
    // Colour material goes off before the material is set: while it is on,
    // the tracked material colours follow the current colour instead.
    glDisable(GL_COLOR_MATERIAL);
    ApplyMaterial(*scene.mMaterials[mesh.mMaterialIndex]);
    const int tex = MaterialTexture(mesh.mMaterialIndex);
    if (tex >= 0 && Textures_[tex].GLName[c] != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, Textures_[tex].GLName[c]);
    }
    if (normals)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    if (colours) {
        glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    }
    // Faces of one kind run in one primitive (a polygon is always its own):
    // the same picture as a primitive per face, with far fewer list entries.
    GLenum open = 0;
    bool isOpen = false;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace &face = mesh.mFaces[f];
        if (face.mNumIndices == 0)
            continue;
        const GLenum kind = PrimitiveOf(face.mNumIndices);
        if (!isOpen || kind != open || kind == GL_POLYGON) {
            if (isOpen)
                glEnd();
            glBegin(kind);
            open = kind;
            isOpen = true;
        }
        for (unsigned i = 0; i < face.mNumIndices; ++i) {
            const unsigned v = face.mIndices[i];
            if (colours)
                glColor4f(colours[v].r, colours[v].g, colours[v].b, colours[v].a);
            if (normals)
                glNormal3f(normals[v].x, normals[v].y, normals[v].z);
            if (uv)
                glTexCoord2f(uv[v].x, uv[v].y);
            glVertex3f(mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z);
        }
    }
    if (isOpen)
        glEnd();
    glDisable(GL_TEXTURE_2D);
}

} // namespace kalvion
