#ifndef MDATABLOCK_H
#define MDATABLOCK_H

#include <maya/MArrayDataHandle.h>
#include <maya/MDGContext.h>
#include <maya/MDataHandle.h>

class MPlug;

// The data of one node during an evaluation. inputValue pulls connected inputs from their sources
// first; outputValue does not.
class MDataBlock {
public:
    explicit MDataBlock(host::Node* node) : node_(node) {}

    MDataHandle inputValue(const MObject& attribute, MStatus* status = nullptr);
    MDataHandle inputValue(const MPlug& plug, MStatus* status = nullptr);
    MDataHandle outputValue(const MObject& attribute, MStatus* status = nullptr);
    MDataHandle outputValue(const MPlug& plug, MStatus* status = nullptr);
    MArrayDataHandle inputArrayValue(const MObject& attribute, MStatus* status = nullptr);
    MArrayDataHandle outputArrayValue(const MObject& attribute, MStatus* status = nullptr);
    MStatus setClean(const MPlug& plug);
    MStatus setClean(const MObject& attribute);
    bool isClean(const MPlug& plug);
    bool isClean(const MObject& attribute);
    MDGContext context() { return MDGContext::fsNormal; }

private:
    host::Node* node_;
};

#endif
