#ifndef MFNDOUBLEINDEXEDCOMPONENT_H
#define MFNDOUBLEINDEXEDCOMPONENT_H

#include <maya/MFnComponent.h>
#include <maya/MIntArray.h>

// Components of two indices per element: surface CVs as (u, v). Construction fails (kInvalidParameter)
// on any other object.
class MFnDoubleIndexedComponent : public MFnComponent {
public:
    MFnDoubleIndexedComponent() = default;
    explicit MFnDoubleIndexedComponent(const MObject& component, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kDoubleIndexedComponent; }
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int u, int v);
    // Fails (kFailure, u and v unchanged) for an index out of range.
    MStatus getElement(int index, int& u, int& v) const;
    MStatus getElements(MIntArray& uIndices, MIntArray& vIndices) const;
};

#endif
