#ifndef MFNSINGLEINDEXEDCOMPONENT_H
#define MFNSINGLEINDEXEDCOMPONENT_H

#include <maya/MFnComponent.h>
#include <maya/MIntArray.h>

// Components of one index per element: mesh vertices, curve CVs. Construction fails
// (kInvalidParameter) on any other object.
class MFnSingleIndexedComponent : public MFnComponent {
public:
    MFnSingleIndexedComponent() = default;
    explicit MFnSingleIndexedComponent(const MObject& component, MStatus* status = nullptr)
        : MFnComponent(component, MFn::kSingleIndexedComponent, status) {}

    MFn::Type type() const override { return MFn::kSingleIndexedComponent; }
    // The component type argument is accepted for any single-indexed kind; the object is of type 680.
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int element);
    MStatus addElements(MIntArray& elements);
    int element(int index, MStatus* status = nullptr) const;
    MStatus getElements(MIntArray& elements) const {
        if (const int* p = pointIndices(MFn::kSingleIndexedComponent)) {
            std::vector<int>& out = elements.hostVector();
            out.resize(1);
            out[0] = p[0];
            return MStatus::kSuccess;
        }
        return getSharedElements(elements);
    }

private:
    MStatus getSharedElements(MIntArray& elements) const;
};

#endif
