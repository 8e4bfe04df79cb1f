#ifndef MFN_H
#define MFN_H

// API type numbers of nodes, data and components. The values named by the plug-ins are fixed;
// the host's own types use numbers that collide with none of them.
class MFn {
public:
    enum Type {
        kInvalid = 0,
        kBase = 1,
        kNamedObject = 2,
        kDependencyNode = 4,
        kAttribute = 5,
        kNumericAttribute = 6,
        kTypedAttribute = 7,
        kCompoundAttribute = 8,
        kGenericAttribute = 9,
        kUnitAttribute = 10,
        kPluginObject = 11,
        kTime = 20,
        kTransform = 110,
        kCamera = 250,
        kNurbsCurve = 267,
        kMesh = 286,
        kNurbsSurface = 294,
        kShadingEngine = 310,
        kParticle = 311,
        kField = 312,
        kEmitter = 313,
        kPluginFieldNode = 314,
        kPluginEmitterNode = 315,
        kPluginDependNode = 316,
        kPluginDeformerNode = 317,
        kSurfaceShader = 320,
        kTexture2d = 330,
        kTexture3d = 331,
        kGeoConnector = 340,
        kLattice = 350,
        kComponent = 524,
        kSingleIndexedComponent = 680,
        kDoubleIndexedComponent = 681,
        kTripleIndexedComponent = 682,
        kData = 500,
        kNumericData = 501,
        kStringData = 502,
        kIntArrayData = 503,
        kPointArrayData = 504,
        kMatrixData = 505,
        kStringArrayData = 506,
        kComponentListData = 507,
        kDynArrayAttrsData = 508,
        kDynSweptGeometryData = 509,
        kNurbsCurveData = 510,
        kNurbsSurfaceData = 511,
        kLatticeData = 512,
        kMeshData = 513,
        kSubdivData = 514,
        kDoubleArrayData = 559,
        kVectorArrayData = 580,
        kShadingSwitch = 593,
        kLast = 1000
    };
};

#endif
