#include "graph/Scene.h"
#include "nodes/curveSource.h"
#include "nodes/geoConnector.h"
#include "nodes/lattice.h"
#include "nodes/mesh.h"
#include "nodes/nurbsCurve.h"
#include "nodes/nurbsSurface.h"
#include "nodes/particle.h"
#include "nodes/shading/ShadingTypes.h"
#include "nodes/time.h"
#include "nodes/transform.h"

#include <iostream>

namespace host {

namespace {

struct HostType {
    const char* name;
    MStatus (*registerType)();
};

// Every node type of the host itself. Add a line per type.
const HostType hostTypes[] = {
    {"transform", registerTransformType},
    {"particle", registerParticleType},
    {"time", registerTimeType},
    {"shadingEngine", registerShadingEngineType},
    {"lambert", registerLambertType},
    {"ramp", registerRampType},
    {"solidGradient", registerSolidGradientType},
    {"normalTexture", registerNormalTextureType},
    {"colorConstant", registerColorConstantType},
    {"tripleShadingSwitch", registerTripleShadingSwitchType},
    {"camera", registerCameraType},
    {"nurbsCurve", registerNurbsCurveType},
    {"curveSource", registerCurveSourceType},
    {"nurbsSurface", registerNurbsSurfaceType},
    {"mesh", registerMeshType},
    {"lattice", registerLatticeType},
    {"geoConnector", registerGeoConnectorType},
};

}  // namespace

void registerHostTypes() {
    for (const HostType& type : hostTypes) {
        MStatus status = type.registerType();
        if (status != MStatus::kSuccess)
            std::cerr << "host: could not register the node type \"" << type.name << "\": " << status << "\n";
    }
}

}  // namespace host
