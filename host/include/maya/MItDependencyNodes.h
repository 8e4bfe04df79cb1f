#ifndef MITDEPENDENCYNODES_H
#define MITDEPENDENCYNODES_H

#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <vector>

// Iterates over the scene's nodes in creation order, only those whose apiType is the filter (every node
// for kInvalid). The nodes are listed when the iterator is made (and again by reset), so nodes and
// connections made or deleted during the walk do not disturb it; a node deleted since is skipped.
class MItDependencyNodes {
public:
    explicit MItDependencyNodes(MFn::Type filter = MFn::kInvalid, MStatus* status = nullptr);

    bool isDone(MStatus* status = nullptr) const;
    MStatus next();
    MStatus reset();
    MStatus reset(MFn::Type filter);
    MObject item(MStatus* status = nullptr) const;
    MObject thisNode(MStatus* status = nullptr) const { return item(status); }

private:
    void skipDeleted();

    MFn::Type filter_;
    std::vector<MObject> nodes_;
    size_t position_ = 0;
};

#endif
