#pragma once
// Model files written by the tests into a scratch folder of their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace kalvion::test {

namespace fs = std::filesystem;

class ScratchModels {
public:
    explicit ScratchModels(const std::string &tag)
        : Root(fs::temp_directory_path() / ("kalvion-models-" + tag + "-" + std::to_string(::getpid())))
    {
        fs::remove_all(Root);
        fs::create_directories(Root);
    }
    ~ScratchModels() { fs::remove_all(Root); }

    // Writes a file below the root (folders made as needed); its full path.
    std::string Write(const std::string &relative, const std::string &bytes) const
    {
        const fs::path p = Root / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    std::string Folder() const { return Root.string() + "/"; }

    fs::path Root;
};

// A cube from (1, 1, 1) to (3, 3, 3) with outward normals, one material.
inline const char *CubeObj =
    "v 1 1 1\nv 3 1 1\nv 3 3 1\nv 1 3 1\nv 1 1 3\nv 3 1 3\nv 3 3 3\nv 1 3 3\n"
    "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n"
    "f 1//1 4//1 3//1 2//1\nf 5//2 6//2 7//2 8//2\nf 1//3 2//3 6//3 5//3\n"
    "f 4//4 8//4 7//4 3//4\nf 1//5 5//5 8//5 4//5\nf 2//6 3//6 7//6 6//6\n";

// A flat square in the plane z = 5.
inline const char *SquareObj = "v -4 -4 5\nv 4 -4 5\nv 4 4 5\nv -4 4 5\nf 1 2 3 4\n";

// The header of a little-endian binary PLY with three vertices and one face.
inline std::string PlyHeader()
{
    return "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
           "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n";
}

// A triangle PLY cut off in its vertex data: the importer fills the face
// with whatever follows, indices far beyond the vertices.
inline std::string TruncatedPly()
{
    std::string body(20, '\n');
    return PlyHeader() + body;
}

// A text PLY whose face names vertex 9 of 3.
inline const char *OutOfRangePly =
    "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 9\n";

// An OBJ with a group and a material but not one vertex.
inline const char *EmptyObj = "o nothing\ng parts\nusemtl none\n";

// A Collada file whose one node places one mesh of `vertices` vertices (a
// triangle for every three) `instances` times: a small file that asks for
// vertices × instances vertices in the picture.
inline std::string InstancedCollada(int vertices, int instances)
{
    std::string positions, indices;
    for (int v = 0; v < vertices; ++v) {
        positions += std::to_string(v % 17) + " " + std::to_string(v / 17 % 13) + " " + std::to_string(v % 5) + " ";
        indices += std::to_string(v) + " ";
    }
    std::string placements;
    for (int i = 0; i < instances; ++i)
        placements += "<instance_geometry url=\"#g\"/>\n";
    return "<?xml version=\"1.0\"?>\n"
           "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
           "<asset><up_axis>Y_UP</up_axis></asset>\n"
           "<library_geometries><geometry id=\"g\"><mesh>\n"
           "<source id=\"p\"><float_array id=\"pa\" count=\"" +
           std::to_string(3 * vertices) + "\">" + positions +
           "</float_array><technique_common><accessor source=\"#pa\" count=\"" + std::to_string(vertices) +
           "\" stride=\"3\"><param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
           "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>\n"
           "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>\n"
           "<triangles count=\"" +
           std::to_string(vertices / 3) + "\"><input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/><p>" + indices +
           "</p></triangles>\n"
           "</mesh></geometry></library_geometries>\n"
           "<library_visual_scenes><visual_scene id=\"s\"><node id=\"n\">\n" +
           placements +
           "</node></visual_scene></library_visual_scenes>\n"
           "<scene><instance_visual_scene url=\"#s\"/></scene>\n"
           "</COLLADA>\n";
}

} // namespace kalvion::test
