#ifndef HOST_RASTER_CAMERA_H
#define HOST_RASTER_CAMERA_H

#include "geometry/Vec3.h"

#include <maya/MMatrix.h>

namespace host {

// A point seen by a camera: pixel coordinates (x to the right from the image's left edge, y downwards
// from its top edge, pixel (i, j) covering [i, i+1) x [j, j+1)) and depth, the distance in front of the
// camera along its view axis.
struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
};

// A perspective camera in Maya's manner, projecting world space onto an image of width x height
// pixels. The camera sits at the origin of its world matrix (row-vector convention) and looks down its
// local -Z axis with +Y up. The lens is a focal length in millimetres over a film back in inches; the
// film is fitted as Maya's default "fill" does: the image spans the film's full width when the image is
// at least as wide (relative to its height) as the film, else its full height. Pixels are square.
// Nothing nearer than the near clip distance is drawn.
class RasterCamera {
public:
    struct Lens {
        double focalLength = 35.0;           // mm
        double horizontalAperture = 1.41732;  // inches (36 mm)
        double verticalAperture = 0.94488;    // inches (24 mm)
        double nearClip = 0.1;
    };

    RasterCamera(const MMatrix& cameraWorld, int width, int height, const Lens& lens);
    RasterCamera(const MMatrix& cameraWorld, int width, int height) : RasterCamera(cameraWorld, width, height, Lens()) {}

    int width() const { return width_; }
    int height() const { return height_; }
    double nearClip() const { return near_; }
    // Pixels one world unit spans at the given depth, across the view axis.
    double pixelsPerUnit(double depth) const { return focalPixels_ / depth; }

    // World to camera space (visible points have z <= -nearClip()).
    geom::Vec3 toCamera(const geom::Vec3& world) const;
    // A camera-space point in front of the camera to the image.
    ScreenPoint project(const geom::Vec3& camera) const;
    // A world point to the image; false (and out untouched) when it is nearer than the near clip, behind
    // the camera or not finite.
    bool projectWorld(const geom::Vec3& world, ScreenPoint& out) const;

    // World to (x * depth, y * depth, depth) as rows of a row-vector matrix: [x y z 1] * rows. Dividing
    // the first two by the third gives the pixel coordinates; the loops over many points use this.
    const double (&rows() const)[4][3] { return rows_; }

    // A camera world matrix at eye looking at target with world +Y up (no roll), and the rotation that
    // gives it as Maya's rotate angles in radians, order XYZ: (pitch, yaw, 0).
    static void lookAt(const geom::Vec3& eye, const geom::Vec3& target, double rotate[3]);
    static MMatrix placement(const geom::Vec3& eye, const double rotate[3]);
    // The eye position, along the view direction given by rotate, at which a sphere of this centre and
    // radius just fits inside the image of this camera lens and aspect.
    static geom::Vec3 framingEye(const geom::Vec3& centre, double radius, const double rotate[3], int width, int height,
                                 const Lens& lens);

private:
    int width_;
    int height_;
    double near_;
    double focalPixels_;  // image-plane distance in pixels
    MMatrix view_;        // world to camera
    double rows_[4][3];
};

}  // namespace host

#endif
