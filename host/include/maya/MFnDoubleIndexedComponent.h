#ifndef MFNDOUBLEINDEXEDCOMPONENT_H
#define MFNDOUBLEINDEXEDCOMPONENT_H

#include <maya/MFnComponent.h>
#include <maya/MIntArray.h>

// Components of two indices per element: surface CVs as (u, v). Construction fails (kInvalidParameter)
// on any other object.
class MFnDoubleIndexedComponent : public MFnComponent {
public:
    MFnDoubleIndexedComponent() = default;
    explicit MFnDoubleIndexedComponent(const MObject& component, MStatus* status = nullptr)
        : MFnComponent(component, MFn::kDoubleIndexedComponent, status) {}

    MFn::Type type() const override { return MFn::kDoubleIndexedComponent; }
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int u, int v);
    // Fails (kFailure, u and v unchanged) for an index out of range.
    MStatus getElement(int index, int& u, int& v) const {
        const int* p = pointIndices(MFn::kDoubleIndexedComponent);
        if (!p || index != 0) return getSharedElement(index, u, v);
        u = p[0];
        v = p[1];
        return MStatus::kSuccess;
    }
    MStatus getElements(MIntArray& uIndices, MIntArray& vIndices) const;

private:
    MStatus getSharedElement(int index, int& u, int& v) const;
};

#endif
