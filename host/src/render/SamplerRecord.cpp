#include "render/SamplerRecord.h"

namespace host {

namespace {

struct SamplerState {
    std::vector<SamplerCall> calls;
    SamplerHook hook;
    bool fail = false;
    bool recording = false;
    bool contents = true;
};

const size_t recordLimit = 256;

SamplerState& state() {
    static SamplerState* s = new SamplerState;
    return *s;
}

template <typename Array>
SamplerArgument describe(const Array* array) {
    SamplerArgument a;
    a.isNull = array == nullptr;
    a.length = array ? array->length() : 0;
    return a;
}

template <typename Array>
void copyInto(const Array* array, Array& out) {
    if (array)
        out.hostVector() = array->hostVector();
}

}  // namespace

const std::vector<SamplerCall>& samplerCalls() {
    return state().calls;
}

void clearSamplerCalls() {
    state().calls.clear();
}

void setSamplerRecording(bool on) {
    state().recording = on;
}

size_t samplerRecordLimit() {
    return recordLimit;
}

void setSamplerRecordsContents(bool on) {
    state().contents = on;
}

void setSamplerHook(SamplerHook hook) {
    state().hook = std::move(hook);
}

void setSamplerFailure(bool on) {
    state().fail = on;
}

void resetSampler() {
    SamplerState& s = state();
    s.calls.clear();
    s.hook = nullptr;
    s.fail = false;
    s.recording = false;
    s.contents = true;
}

SamplerCall describeSamplerCall(const std::string& name, int numSamples, bool useShadowMaps, bool reuseMaps,
                                const MFloatMatrix& cameraMatrix, const SamplerArguments& a) {
    SamplerCall call;
    call.name = name;
    call.numSamples = numSamples;
    call.useShadowMaps = useShadowMaps;
    call.reuseMaps = reuseMaps;
    call.cameraMatrix = cameraMatrix;
    call.points = describe(a.points);
    call.uCoords = describe(a.uCoords);
    call.vCoords = describe(a.vCoords);
    call.normals = describe(a.normals);
    call.refPoints = describe(a.refPoints);
    call.tangentUs = describe(a.tangentUs);
    call.tangentVs = describe(a.tangentVs);
    call.filterSizes = describe(a.filterSizes);
    call.refPointsAreThePoints = a.refPoints && a.refPoints == a.points;
    call.vCoordsAreTheUCoords = a.vCoords && a.vCoords == a.uCoords;
    if (state().recording && state().contents) {
        call.contentsRecorded = true;
        copyInto(a.points, call.pointValues);
        copyInto(a.uCoords, call.uValues);
        copyInto(a.vCoords, call.vValues);
        copyInto(a.normals, call.normalValues);
        copyInto(a.refPoints, call.refPointValues);
        copyInto(a.tangentUs, call.tangentUValues);
        copyInto(a.tangentVs, call.tangentVValues);
        copyInto(a.filterSizes, call.filterSizeValues);
    }
    return call;
}

void runSamplerHook(const SamplerCall& call) {
    // A copy, so that a hook may replace or remove itself while it runs.
    SamplerHook hook = state().hook;
    if (hook)
        hook(call);
}

bool samplerFailureForced() {
    return state().fail;
}

void recordSamplerCall(SamplerCall&& call) {
    SamplerState& s = state();
    if (!s.recording)
        return;
    if (s.calls.size() >= recordLimit)
        s.calls.erase(s.calls.begin());
    s.calls.push_back(std::move(call));
}

}  // namespace host
