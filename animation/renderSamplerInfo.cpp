#include "renderSamplerInfo.h"

#include "shadingSampling.h"
#include "verbose.h"

#include <maya/MDataHandle.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MString.h>

#include <algorithm>
#include <cstdint>

MObject renderSamplerInfo::shader;
MObject renderSamplerInfo::forceUpdate;
MObject renderSamplerInfo::position;
MObject renderSamplerInfo::refPosition;
MObject renderSamplerInfo::normal;
MObject renderSamplerInfo::tangentU;
MObject renderSamplerInfo::tangentV;
MObject renderSamplerInfo::uValue;
MObject renderSamplerInfo::vValue;
MObject renderSamplerInfo::resultColorOffset;
MObject renderSamplerInfo::resultTransparencyOffset;
MObject renderSamplerInfo::resultLuminanceOffset;
MObject renderSamplerInfo::resultColor;
MObject renderSamplerInfo::resultTransparency;
MObject renderSamplerInfo::resultLuminance;

MTypeId renderSamplerInfo::id(0x1059C5);

namespace {

// Appends one entry per existing element, in ascending logical order, and a zero entry for each logical
// index missing between two existing ones.
template <class Array, class Entry, class Read>
void buildDense(MArrayDataHandle& handle, Array& array, const Entry& zero, Read read) {
    handle.jumpToElement(0);
    // Room for one entry per element at once (gaps may add more), instead of growing entry by entry.
    array.setSizeIncrement(std::min(handle.elementCount(), renderSamplerInfo::maxSamples));
    // The index of the element current after a step is also the one the next round reads, so it is asked
    // once per element. Statuses are kept as flags so that the loop works on plain values.
    MStatus status;
    unsigned index = handle.elementIndex(&status);
    bool indexRead = status == MStatus::kSuccess;
    unsigned count = 0;
    while (count < handle.elementCount()) {
        if (indexRead) {
            if (array.length() < renderSamplerInfo::maxSamples)
                array.append(read(handle.inputValue()));
            ++count;
        }
        const bool advanced = handle.next() == MStatus::kSuccess;
        const unsigned nextIndex = handle.elementIndex(&status);
        if (indexRead && advanced) {
            const int64_t end = static_cast<int64_t>(static_cast<int32_t>(nextIndex)) - 1;
            for (int64_t j = static_cast<int32_t>(index); j < end && array.length() < renderSamplerInfo::maxSamples; ++j)
                array.append(zero);
        }
        if (!advanced)
            break;
        index = nextIndex;
        indexRead = status == MStatus::kSuccess;
    }
}

// Gives the element of logical index k value k; elements beyond the values get zero.
template <class Values, class Write>
void writeByLogicalIndex(MArrayDataHandle& handle, const Values& values, Write write) {
    unsigned count = 0;
    while (count < handle.elementCount()) {
        MStatus indexStatus;
        const unsigned index = handle.elementIndex(&indexStatus);
        if (indexStatus == MStatus::kSuccess) {
            MDataHandle element = handle.outputValue();
            write(element, index < values.length() ? &values[index] : nullptr);
            ++count;
        }
        if (handle.next() != MStatus::kSuccess)
            break;
    }
    handle.setAllClean();
}

MObject makeInput(const char* longName, const char* shortName, MFnNumericData::Type type) {
    MFnNumericAttribute fn;
    MObject attribute = fn.create(longName, shortName, type, 0.0);
    fn.setArray(true);
    fn.setConnectable(true);
    fn.setReadable(false);
    fn.setWritable(true);
    fn.setIndexMatters(false);
    return attribute;
}

MObject makeResult(const char* longName, const char* shortName, MFnNumericData::Type type) {
    MFnNumericAttribute fn;
    MObject attribute = fn.create(longName, shortName, type, 0.0);
    fn.setArray(true);
    fn.setReadable(true);
    fn.setWritable(false);
    return attribute;
}

// Appends zero entries until the array holds n; an empty array stays empty.
template <class Array, class Entry>
void padTo(Array& array, unsigned n, const Entry& zero) {
    if (array.length() == 0)
        return;
    while (array.length() < n)
        array.append(zero);
}

}  // namespace

renderSamplerInfo::renderSamplerInfo() = default;

renderSamplerInfo::~renderSamplerInfo() = default;

void* renderSamplerInfo::creator() { return new renderSamplerInfo; }

MStatus renderSamplerInfo::initialize() {
    MFnNumericAttribute fn;
    shader = fn.create("shader", "sdr", MFnNumericData::k3Double, 0.0);
    fn.setReadable(false);
    fn.setWritable(true);
    fn.setConnectable(true);
    fn.setUsedAsColor(true);
    addAttribute(shader);

    forceUpdate = fn.create("forceUpdate", "fu", MFnNumericData::kDouble, 0.0);
    fn.setReadable(true);
    fn.setKeyable(true);
    fn.setWritable(true);
    fn.setConnectable(true);
    addAttribute(forceUpdate);

    position = makeInput("position", "p", MFnNumericData::k3Double);
    addAttribute(position);
    refPosition = makeInput("refPosition", "rp", MFnNumericData::k3Double);
    addAttribute(refPosition);
    normal = makeInput("normal", "n", MFnNumericData::k3Double);
    addAttribute(normal);
    tangentU = makeInput("tangentU", "tu", MFnNumericData::k3Double);
    addAttribute(tangentU);
    tangentV = makeInput("tangentV", "tv", MFnNumericData::k3Double);
    addAttribute(tangentV);
    uValue = makeInput("uValue", "u", MFnNumericData::kDouble);
    addAttribute(uValue);
    vValue = makeInput("vValue", "v", MFnNumericData::kDouble);
    addAttribute(vValue);
    resultColorOffset = makeInput("resultColorOffset", "rco", MFnNumericData::k3Double);
    addAttribute(resultColorOffset);
    resultTransparencyOffset = makeInput("resultTransparencyOffset", "rto", MFnNumericData::k3Double);
    addAttribute(resultTransparencyOffset);
    resultLuminanceOffset = fn.create("resultLuminanceOffset", "rlo", MFnNumericData::kDouble, 0.0);
    fn.setArray(true);
    fn.setReadable(false);
    fn.setWritable(true);
    fn.setIndexMatters(false);
    addAttribute(resultLuminanceOffset);

    resultColor = makeResult("resultColor", "rc", MFnNumericData::k3Double);
    addAttribute(resultColor);
    resultTransparency = makeResult("resultTransparency", "rt", MFnNumericData::k3Double);
    addAttribute(resultTransparency);
    resultLuminance = makeResult("resultLuminance", "l", MFnNumericData::kDouble);
    addAttribute(resultLuminance);

    const MObject* samples[] = {&forceUpdate, &shader,   &position, &refPosition, &normal,
                                &tangentU,    &tangentV, &uValue,   &vValue};
    const struct {
        MObject* result;
        MObject* offset;
    } rows[] = {{&resultColor, &resultColorOffset},
                {&resultTransparency, &resultTransparencyOffset},
                {&resultLuminance, &resultLuminanceOffset}};
    for (const auto& row : rows) {
        for (const MObject* input : samples)
            attributeAffects(*input, *row.result);
        attributeAffects(*row.offset, *row.result);
    }
    return MStatus::kSuccess;
}

void renderSamplerInfo::buildFloatPointArray(MArrayDataHandle& handle, MFloatPointArray& array) {
    buildDense(handle, array, MFloatPoint(0.0f, 0.0f, 0.0f, 0.0f), [](const MDataHandle& element) {
        const double3& d = element.asDouble3();
        return MFloatPoint(static_cast<float>(d[0]), static_cast<float>(d[1]), static_cast<float>(d[2]), 0.0f);
    });
}

void renderSamplerInfo::buildFloatVectorArray(MArrayDataHandle& handle, MFloatVectorArray& array) {
    buildDense(handle, array, MFloatVector(0.0f, 0.0f, 0.0f), [](const MDataHandle& element) {
        const double3& d = element.asDouble3();
        return MFloatVector(static_cast<float>(d[0]), static_cast<float>(d[1]), static_cast<float>(d[2]));
    });
}

void renderSamplerInfo::buildFloatArray(MArrayDataHandle& handle, MFloatArray& array) {
    buildDense(handle, array, 0.0f,
               [](const MDataHandle& element) { return static_cast<float>(element.asDouble()); });
}

void renderSamplerInfo::saveFloatVector(MDataBlock& block, unsigned, MObject& attribute, MFloatVectorArray& values) {
    MStatus status;
    MArrayDataHandle handle = block.outputArrayValue(attribute, &status);
    handle.jumpToElement(0);
    writeByLogicalIndex(handle, values, [](MDataHandle& element, const MFloatVector* value) {
        if (value)
            element.set(static_cast<double>(value->x), static_cast<double>(value->y), static_cast<double>(value->z));
        else
            element.set(0.0, 0.0, 0.0);
    });
}

void renderSamplerInfo::saveDouble(MDataBlock& block, unsigned, MObject& attribute, MDoubleArray& values) {
    MStatus status;
    MArrayDataHandle handle = block.outputArrayValue(attribute, &status);
    writeByLogicalIndex(handle, values,
                        [](MDataHandle& element, const double* value) { element.set(value ? *value : 0.0); });
}

MStatus renderSamplerInfo::compute(const MPlug& plug, MDataBlock& block) {
    if (plug == resultColor || plug == resultTransparency || plug == resultLuminance) {
        MFnDependencyNode thisNode(thisMObject());
        const MString shadingNode = shadingSampling::attachedShadingNode(thisNode.findPlug("shader"));
        if (shadingNode.length() == 0)
            return MStatus::kUnknownParameter;

        block.inputValue(forceUpdate);

        MArrayDataHandle positionHandle = block.inputArrayValue(position);
        MArrayDataHandle refPositionHandle = block.inputArrayValue(refPosition);
        MArrayDataHandle normalHandle = block.inputArrayValue(normal);
        MArrayDataHandle tangentUHandle = block.inputArrayValue(tangentU);
        MArrayDataHandle tangentVHandle = block.inputArrayValue(tangentV);
        MArrayDataHandle uHandle = block.inputArrayValue(uValue);
        MArrayDataHandle vHandle = block.inputArrayValue(vValue);
        MArrayDataHandle colorOffsetHandle = block.inputArrayValue(resultColorOffset);
        MArrayDataHandle transparencyOffsetHandle = block.inputArrayValue(resultTransparencyOffset);
        MArrayDataHandle luminanceOffsetHandle = block.inputArrayValue(resultLuminanceOffset);

        MFloatPointArray points, refPoints;
        MFloatVectorArray normals, tangentUs, tangentVs, colorOffsets, transparencyOffsets;
        MFloatArray uCoords, vCoords, luminanceOffsets;
        buildFloatPointArray(positionHandle, points);
        buildFloatPointArray(refPositionHandle, refPoints);
        buildFloatVectorArray(normalHandle, normals);
        buildFloatVectorArray(tangentUHandle, tangentUs);
        buildFloatVectorArray(tangentVHandle, tangentVs);
        buildFloatArray(uHandle, uCoords);
        buildFloatArray(vHandle, vCoords);
        buildFloatVectorArray(colorOffsetHandle, colorOffsets);
        buildFloatVectorArray(transparencyOffsetHandle, transparencyOffsets);
        buildFloatArray(luminanceOffsetHandle, luminanceOffsets);

        unsigned n = 0;
        for (unsigned length : {points.length(), uCoords.length(), vCoords.length(), normals.length(),
                                tangentUs.length(), tangentVs.length(), refPoints.length()})
            if (length > n)
                n = length;

        const MFloatPoint zeroPoint(0.0f, 0.0f, 0.0f, 0.0f);
        const MFloatVector zeroVector(0.0f, 0.0f, 0.0f);
        padTo(points, n, zeroPoint);
        padTo(uCoords, n, 0.0f);
        padTo(vCoords, n, 0.0f);
        // Reference points that do not cover every sample are replaced by the points altogether.
        if (points.length() == n && refPoints.length() < n)
            refPoints.copy(points);
        padTo(refPoints, n, zeroPoint);
        padTo(normals, n, zeroVector);
        padTo(tangentUs, n, zeroVector);
        padTo(tangentVs, n, zeroVector);

        MFloatVectorArray colors, transparencies;
        const MStatus sampled = shadingSampling::sample(
            MString(shadingNode), static_cast<int>(n), false, shadingSampling::orNull(points),
            shadingSampling::orNull(uCoords), shadingSampling::orNull(vCoords), shadingSampling::orNull(normals),
            shadingSampling::orNull(refPoints), shadingSampling::orNull(tangentUs), shadingSampling::orNull(tangentVs),
            colors, transparencies);
        if (sampled != MStatus::kSuccess) {
            errorLine(sampled, "error rendering");
            return MStatus::kUnknownParameter;
        }

        if (plug == resultColor) {
            if (colorOffsets.length() > 0)
                for (unsigned i = 0; i < colors.length() && i < colorOffsets.length(); ++i)
                    colors[i] += colorOffsets[i];
            saveFloatVector(block, 0, resultColor, colors);
        } else if (plug == resultTransparency) {
            if (transparencyOffsets.length() > 0)
                for (unsigned i = 0; i < transparencies.length() && i < transparencyOffsets.length(); ++i)
                    transparencies[i] += transparencyOffsets[i];
            saveFloatVector(block, 0, resultTransparency, transparencies);
        } else {
            MDoubleArray luminances;
            for (unsigned i = 0; i < colors.length(); ++i) {
                double luminance = shadingSampling::luminance(colors[i]);
                if (i < luminanceOffsets.length())
                    luminance += luminanceOffsets[i];
                luminances.append(luminance);
            }
            saveDouble(block, 0, resultLuminance, luminances);
        }
    }
    block.setClean(resultColor);
    block.setClean(resultTransparency);
    block.setClean(resultLuminance);
    return MStatus::kSuccess;
}
