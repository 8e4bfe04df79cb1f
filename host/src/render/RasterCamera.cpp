#include "render/RasterCamera.h"

#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

#include <algorithm>
#include <cmath>

namespace host {

namespace {

constexpr double kMillimetresPerInch = 25.4;

double focalPixels(int width, int height, const RasterCamera::Lens& lens) {
    const double filmAspect = lens.horizontalAperture / lens.verticalAperture;
    if (static_cast<double>(width) / height >= filmAspect)
        return width * lens.focalLength / (lens.horizontalAperture * kMillimetresPerInch);
    return height * lens.focalLength / (lens.verticalAperture * kMillimetresPerInch);
}

geom::Vec3 viewDirection(const double rotate[3]) {
    const double a = rotate[0], b = rotate[1];
    return {-std::cos(a) * std::sin(b), std::sin(a), -std::cos(a) * std::cos(b)};
}

}  // namespace

RasterCamera::RasterCamera(const MMatrix& cameraWorld, int width, int height, const Lens& lens)
    : width_(width),
      height_(height),
      near_(lens.nearClip > 0.0 ? lens.nearClip : 0.1),
      focalPixels_(focalPixels(width, height, lens)),
      view_(cameraWorld.inverse()) {
    // x * depth = cx * f + w/2 * depth, y * depth = -cy * f + h/2 * depth, depth = -cz.
    const double halfW = 0.5 * width_, halfH = 0.5 * height_;
    for (int r = 0; r < 4; ++r) {
        const double cx = view_.matrix[r][0], cy = view_.matrix[r][1], cz = view_.matrix[r][2];
        rows_[r][0] = cx * focalPixels_ - cz * halfW;
        rows_[r][1] = -cy * focalPixels_ - cz * halfH;
        rows_[r][2] = -cz;
    }
}

geom::Vec3 RasterCamera::toCamera(const geom::Vec3& p) const {
    const auto& m = view_.matrix;
    return {p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
            p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
            p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
}

ScreenPoint RasterCamera::project(const geom::Vec3& c) const {
    const double depth = -c.z;
    return {0.5 * width_ + c.x * focalPixels_ / depth, 0.5 * height_ - c.y * focalPixels_ / depth, depth};
}

bool RasterCamera::projectWorld(const geom::Vec3& world, ScreenPoint& out) const {
    const geom::Vec3 c = toCamera(world);
    if (!(-c.z >= near_) || !geom::isFinite(c))
        return false;
    out = project(c);
    return true;
}

void RasterCamera::lookAt(const geom::Vec3& eye, const geom::Vec3& target, double rotate[3]) {
    const geom::Vec3 d = geom::normalized(target - eye);
    rotate[0] = std::asin(std::clamp(d.y, -1.0, 1.0));
    rotate[1] = (d.x == 0.0 && d.z == 0.0) ? 0.0 : std::atan2(-d.x, -d.z);
    rotate[2] = 0.0;
}

MMatrix RasterCamera::placement(const geom::Vec3& eye, const double rotate[3]) {
    MTransformationMatrix m;
    m.setRotation(rotate, MTransformationMatrix::kXYZ, MSpace::kTransform);
    m.setTranslation(MVector(eye.x, eye.y, eye.z), MSpace::kTransform);
    return m.asMatrix();
}

geom::Vec3 RasterCamera::framingEye(const geom::Vec3& centre, double radius, const double rotate[3], int width,
                                    int height, const Lens& lens) {
    const double halfPixels = 0.5 * std::min(width, height);
    const double halfAngle = std::atan(halfPixels / focalPixels(width, height, lens));
    const double distance = std::max(radius, 1e-3) / std::sin(halfAngle);
    return centre - viewDirection(rotate) * distance;
}

}  // namespace host
