#include "geometry/MeshPrimitives.h"

#include <cmath>
#include <vector>

namespace host::geom {

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

PolyMesh makePolyPlane(double width, double height, int sx, int sy) {
    std::vector<Vec3> points;
    std::vector<MeshUV> uvs;
    points.reserve(static_cast<size_t>(sx + 1) * (sy + 1));
    uvs.reserve(points.capacity());
    for (int j = 0; j <= sy; ++j)
        for (int i = 0; i <= sx; ++i) {
            points.push_back({-0.5 * width + width * i / sx, 0.0, 0.5 * height - height * j / sy});
            uvs.push_back({static_cast<float>(static_cast<double>(i) / sx), static_cast<float>(static_cast<double>(j) / sy)});
        }
    std::vector<int> connects;
    connects.reserve(static_cast<size_t>(sx) * sy * 4);
    for (int j = 0; j < sy; ++j)
        for (int i = 0; i < sx; ++i) {
            const int a = j * (sx + 1) + i;
            connects.insert(connects.end(), {a, a + 1, a + sx + 2, a + sx + 1});
        }
    std::vector<int> uvIds = connects;
    return PolyMesh(std::move(points), std::vector<int>(static_cast<size_t>(sx) * sy, 4), std::move(connects),
                    std::move(uvs), std::move(uvIds));
}

PolyMesh makePolySphere(double radius, int sx, int sy) {
    const int rings = sy - 1;
    std::vector<Vec3> points;
    points.reserve(static_cast<size_t>(rings) * sx + 2);
    for (int j = 1; j <= rings; ++j) {
        const double phi = -0.5 * kPi + kPi * j / sy;
        for (int i = 0; i < sx; ++i) {
            const double theta = 2.0 * kPi * i / sx;
            points.push_back({radius * std::cos(phi) * std::cos(theta), radius * std::sin(phi),
                              -radius * std::cos(phi) * std::sin(theta)});
        }
    }
    const int south = rings * sx, north = south + 1;
    points.push_back({0.0, -radius, 0.0});
    points.push_back({0.0, radius, 0.0});

    std::vector<MeshUV> uvs;
    for (int j = 1; j <= rings; ++j)
        for (int i = 0; i <= sx; ++i)
            uvs.push_back({static_cast<float>(static_cast<double>(i) / sx), static_cast<float>(static_cast<double>(j) / sy)});
    const int southUV = static_cast<int>(uvs.size()), northUV = southUV + sx;
    for (float v : {0.0f, 1.0f})
        for (int i = 0; i < sx; ++i)
            uvs.push_back({static_cast<float>((i + 0.5) / sx), v});

    auto vertex = [sx](int j, int i) { return (j - 1) * sx + i % sx; };
    auto uv = [sx](int j, int i) { return (j - 1) * (sx + 1) + i; };
    std::vector<int> counts, connects, uvIds;
    for (int j = 1; j < rings; ++j)
        for (int i = 0; i < sx; ++i) {
            counts.push_back(4);
            connects.insert(connects.end(), {vertex(j, i), vertex(j, i + 1), vertex(j + 1, i + 1), vertex(j + 1, i)});
            uvIds.insert(uvIds.end(), {uv(j, i), uv(j, i + 1), uv(j + 1, i + 1), uv(j + 1, i)});
        }
    for (int i = 0; i < sx; ++i) {
        counts.push_back(3);
        connects.insert(connects.end(), {south, vertex(1, i + 1), vertex(1, i)});
        uvIds.insert(uvIds.end(), {southUV + i, uv(1, i + 1), uv(1, i)});
    }
    for (int i = 0; i < sx; ++i) {
        counts.push_back(3);
        connects.insert(connects.end(), {vertex(rings, i), vertex(rings, i + 1), north});
        uvIds.insert(uvIds.end(), {uv(rings, i), uv(rings, i + 1), northUV + i});
    }
    return PolyMesh(std::move(points), std::move(counts), std::move(connects), std::move(uvs), std::move(uvIds));
}

PolyMesh makePolyCube(double width, double height, double depth) {
    const double x = 0.5 * width, y = 0.5 * height, z = 0.5 * depth;
    std::vector<Vec3> points{{-x, -y, z}, {x, -y, z}, {-x, y, z},  {x, y, z},
                             {-x, y, -z}, {x, y, -z}, {-x, -y, -z}, {x, -y, -z}};
    std::vector<int> connects{0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6, 6, 7, 1, 0, 1, 7, 5, 3, 6, 0, 2, 4};
    std::vector<MeshUV> uvs{{0.375f, 0.0f},  {0.625f, 0.0f},  {0.375f, 0.25f}, {0.625f, 0.25f}, {0.375f, 0.5f},
                            {0.625f, 0.5f},  {0.375f, 0.75f}, {0.625f, 0.75f}, {0.375f, 1.0f},  {0.625f, 1.0f},
                            {0.875f, 0.0f},  {0.875f, 0.25f}, {0.125f, 0.0f},  {0.125f, 0.25f}};
    std::vector<int> uvIds{0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6, 6, 7, 9, 8, 1, 10, 11, 3, 12, 0, 2, 13};
    return PolyMesh(std::move(points), std::vector<int>(6, 4), std::move(connects), std::move(uvs), std::move(uvIds));
}

}  // namespace host::geom
