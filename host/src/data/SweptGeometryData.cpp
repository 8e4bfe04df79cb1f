#include "data/SweptGeometryData.h"

#include <utility>

namespace host {

MObject makeSweptGeometryData(std::vector<geom::SweptTriangle> triangles) {
    auto data = std::make_shared<SweptGeometryData>();
    data->triangles = std::move(triangles);
    return MObject(data);
}

}  // namespace host
