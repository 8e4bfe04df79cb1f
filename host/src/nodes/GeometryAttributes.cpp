#include "nodes/GeometryAttributes.h"

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataHandle.h>
#include <maya/MFnTypedAttribute.h>

namespace host {

MObject geometryAttribute(const char* longName, const char* shortName, MFnData::Type type, bool output,
                          bool array, MStatus& status) {
    MFnTypedAttribute fn;
    MStatus s;
    MObject attribute = fn.create(longName, shortName, type, MObject::kNullObj, &s);
    if (s != MStatus::kSuccess && status == MStatus::kSuccess)
        status = s;
    if (array)
        fn.setArray(true);
    if (output) {
        fn.setWritable(false);
        fn.setStorable(false);
    }
    return attribute;
}

MStatus setFirstElement(MDataBlock& block, const MObject& arrayAttribute, const MObject& data) {
    MStatus status;
    MArrayDataHandle array = block.outputArrayValue(arrayAttribute, &status);
    if (status != MStatus::kSuccess)
        return status;
    MArrayDataBuilder builder = array.builder(&status);
    if (status != MStatus::kSuccess)
        return status;
    MDataHandle element = builder.addElement(0, &status);
    if (status != MStatus::kSuccess)
        return status;
    return element.set(data);
}

}  // namespace host
