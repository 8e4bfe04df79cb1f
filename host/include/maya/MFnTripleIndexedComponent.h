#ifndef MFNTRIPLEINDEXEDCOMPONENT_H
#define MFNTRIPLEINDEXEDCOMPONENT_H

#include <maya/MFnComponent.h>
#include <maya/MIntArray.h>

// Components of three indices per element: lattice points as (s, t, u). Construction fails
// (kInvalidParameter) on any other object.
class MFnTripleIndexedComponent : public MFnComponent {
public:
    MFnTripleIndexedComponent() = default;
    explicit MFnTripleIndexedComponent(const MObject& component, MStatus* status = nullptr)
        : MFnComponent(component, MFn::kTripleIndexedComponent, status) {}

    MFn::Type type() const override { return MFn::kTripleIndexedComponent; }
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int s, int t, int u);
    // Fails (kFailure, s, t and u unchanged) for an index out of range.
    MStatus getElement(int index, int& s, int& t, int& u) const {
        const int* p = pointIndices(MFn::kTripleIndexedComponent);
        if (!p || index != 0) return getSharedElement(index, s, t, u);
        s = p[0];
        t = p[1];
        u = p[2];
        return MStatus::kSuccess;
    }
    MStatus getElements(MIntArray& sIndices, MIntArray& tIndices, MIntArray& uIndices) const;

private:
    MStatus getSharedElement(int index, int& s, int& t, int& u) const;
};

#endif
