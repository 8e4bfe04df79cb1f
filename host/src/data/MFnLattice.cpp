#include <maya/MFnLattice.h>
#include <maya/MFnLatticeData.h>

#include "data/LatticeData.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

using host::LatticeData;
using host::geom::Lattice;

namespace {

inline MStatus report(MStatus* status, MStatus::MStatusCode code) {
    if (status)
        *status = code;
    return code;
}

bool isLatticeShape(const MObject& object) {
    return object.apiType() == MFn::kLattice && object.hasFn(MFn::kDependencyNode);
}

// The lattice data of a "lattice" shape's "latticeOutput", pulled now; null when it has none.
MObject shapeLattice(const MObject& shape) {
    MFnDependencyNode fn(shape);
    MStatus status;
    MPlug plug = fn.findPlug("latticeOutput", &status);
    MObject data;
    if (status != MStatus::kSuccess || plug.getValue(data) != MStatus::kSuccess)
        return MObject();
    return data;
}

bool fitsDivisions(unsigned s, unsigned t, unsigned u) {
    const unsigned most = static_cast<unsigned>(Lattice::kMaxDivisions);
    return s <= most && t <= most && u <= most &&
           Lattice::checkDivisions(static_cast<int>(s), static_cast<int>(t), static_cast<int>(u)).empty();
}

}  // namespace

MFnLattice::MFnLattice(const MObject& lattice, MStatus* status) {
    report(status, setObject(lattice).statusCode());
}

MStatus MFnLattice::setObject(const MObject& object) {
    obj_ = MObject();
    data_ = nullptr;
    held_ = MObject();
    if (object.apiType() == MFn::kLatticeData) {
        auto data = host::dataAs<LatticeData>(object);
        if (!data)
            return MStatus::kInvalidParameter;
        obj_ = object;
        data_ = data.get();
        return MStatus::kSuccess;
    }
    if (isLatticeShape(object)) {
        obj_ = object;
        held_ = shapeLattice(object);
        data_ = host::dataAs<LatticeData>(held_).get();
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

MStatus MFnLattice::getDivisions(unsigned& s, unsigned& t, unsigned& u) const {
    if (!data_ || !data_->lattice().isValid())
        return MStatus::kFailure;
    s = static_cast<unsigned>(data_->lattice().sDivisions());
    t = static_cast<unsigned>(data_->lattice().tDivisions());
    u = static_cast<unsigned>(data_->lattice().uDivisions());
    return MStatus::kSuccess;
}

MStatus MFnLattice::setDivisions(unsigned s, unsigned t, unsigned u) {
    if (obj_.isNull())
        return MStatus::kFailure;
    if (!fitsDivisions(s, t, u))
        return MStatus::kInvalidParameter;
    if (isLatticeShape(obj_)) {
        MFnDependencyNode fn(obj_);
        const char* names[3] = {"sDivisions", "tDivisions", "uDivisions"};
        const unsigned values[3] = {s, t, u};
        for (int k = 0; k < 3; ++k) {
            MStatus status = fn.findPlug(names[k]).setValue(static_cast<int>(values[k]));
            if (status != MStatus::kSuccess)
                return status;
        }
        return setObject(MObject(obj_));
    }
    auto data = host::dataAs<LatticeData>(obj_);
    Lattice lattice = data->lattice();
    if (!lattice.setDivisions(static_cast<int>(s), static_cast<int>(t), static_cast<int>(u)))
        return MStatus::kFailure;
    data->setLattice(std::move(lattice));
    return MStatus::kSuccess;
}

MPoint MFnLattice::point(unsigned s, unsigned t, unsigned u, MStatus* status) const {
    if (!data_ || !data_->lattice().isValid()) {
        report(status, MStatus::kFailure);
        return MPoint();
    }
    host::geom::Vec3 p;
    const unsigned most = static_cast<unsigned>(Lattice::kMaxDivisions);
    if (s > most || t > most || u > most ||
        !data_->lattice().getPoint(static_cast<int>(s), static_cast<int>(t), static_cast<int>(u), p)) {
        report(status, MStatus::kInvalidParameter);
        return MPoint();
    }
    report(status, MStatus::kSuccess);
    return MPoint(p.x, p.y, p.z);
}

MFnLatticeData::MFnLatticeData(const MObject& object, MStatus* status) {
    if (host::dataAs<LatticeData>(object)) {
        obj_ = object;
        report(status, MStatus::kSuccess);
    } else {
        report(status, MStatus::kInvalidParameter);
    }
}

MObject MFnLatticeData::create(MStatus* status) {
    obj_ = MObject(std::make_shared<LatticeData>());
    report(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnLatticeData::lattice(MStatus* status) {
    report(status, obj_.isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return obj_;
}
