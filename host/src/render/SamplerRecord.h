#ifndef HOST_SAMPLER_RECORD_H
#define HOST_SAMPLER_RECORD_H

#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MStatus.h>

#include <functional>
#include <string>
#include <vector>

// What the host lets tests see of MRenderUtil::sampleShadingNetwork: a record of every call, a hook run
// during each call, and a switch that makes calls fail.
namespace host {

// One optional array argument: whether it was NULL, and its length (0 when NULL).
struct SamplerArgument {
    bool isNull = true;
    unsigned length = 0;
};

struct SamplerCall {
    std::string name;
    int numSamples = 0;
    bool useShadowMaps = false;
    bool reuseMaps = false;
    MFloatMatrix cameraMatrix;

    SamplerArgument points;
    SamplerArgument uCoords;
    SamplerArgument vCoords;
    SamplerArgument normals;
    SamplerArgument refPoints;
    SamplerArgument tangentUs;
    SamplerArgument tangentVs;
    SamplerArgument filterSizes;
    // Argument identity, for "reference points are the points" and "u and v are one array".
    bool refPointsAreThePoints = false;
    bool vCoordsAreTheUCoords = false;

    // Copies of the arrays passed (empty for NULL arguments, and when content recording is off).
    bool contentsRecorded = false;
    MFloatPointArray pointValues;
    MFloatArray uValues;
    MFloatArray vValues;
    MFloatVectorArray normalValues;
    MFloatPointArray refPointValues;
    MFloatVectorArray tangentUValues;
    MFloatVectorArray tangentVValues;
    MFloatArray filterSizeValues;

    // Filled when the call returns: its status, the number of colours returned and how long it took.
    MStatus status;
    unsigned resultCount = 0;
    double seconds = 0.0;
};

// The completed calls, in the order the calls returned. Calls are recorded only while recording is on
// (it is off unless a test turns it on, so long runs keep no record), and only the latest
// samplerRecordLimit() of them are kept.
const std::vector<SamplerCall>& samplerCalls();
void clearSamplerCalls();
void setSamplerRecording(bool on);
size_t samplerRecordLimit();
// Whether recorded calls copy the contents of their arrays (on by default; benchmarks that sample many
// points turn it off). Everything else is recorded either way.
void setSamplerRecordsContents(bool on);

// Runs during each call, after the arguments are recorded and before anything is evaluated. An empty
// function removes the hook. The hook may read the scene and may itself sample.
using SamplerHook = std::function<void(const SamplerCall& call)>;
void setSamplerHook(SamplerHook hook);

// While on, every call fails with kFailure and empty results (it is still recorded and the hook runs).
void setSamplerFailure(bool on);

// Clears the record and the hook, turns forced failure and recording off and content recording on.
void resetSampler();

// Used by the sampler itself.
struct SamplerArguments {
    const MFloatPointArray* points;
    const MFloatArray* uCoords;
    const MFloatArray* vCoords;
    const MFloatVectorArray* normals;
    const MFloatPointArray* refPoints;
    const MFloatVectorArray* tangentUs;
    const MFloatVectorArray* tangentVs;
    const MFloatArray* filterSizes;
};
SamplerCall describeSamplerCall(const std::string& name, int numSamples, bool useShadowMaps, bool reuseMaps,
                                const MFloatMatrix& cameraMatrix, const SamplerArguments& arguments);
void runSamplerHook(const SamplerCall& call);
bool samplerFailureForced();
void recordSamplerCall(SamplerCall&& call);

}  // namespace host

#endif
