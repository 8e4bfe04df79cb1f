#ifndef HOST_SHADING_TYPES_H
#define HOST_SHADING_TYPES_H

#include <maya/MStatus.h>

// Registration of the host's shading node types and its camera (see each class's header for the
// attributes). Host type ids 0x7100xx.
namespace host {

MStatus registerShadingEngineType();
MStatus registerLambertType();
MStatus registerRampType();
MStatus registerSolidGradientType();
MStatus registerNormalTextureType();
MStatus registerColorConstantType();
MStatus registerTripleShadingSwitchType();
MStatus registerCameraType();

}  // namespace host

#endif
