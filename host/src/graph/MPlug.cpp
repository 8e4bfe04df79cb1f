#include <maya/MPlug.h>

#include "data/Data.h"
#include "data/NumericData.h"
#include "graph/Scene.h"

#include <maya/MFnNumericData.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MTime.h>

#include <functional>
#include <ostream>

using host::Attribute;
using host::AttrKind;
using host::Node;
using host::PlugStep;
using host::ValueRef;

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

const Attribute* lastAttr(const std::vector<PlugStep>& path) {
    return path.empty() ? nullptr : path.back().attr;
}

std::shared_ptr<Attribute> shared(const Attribute* attr) {
    return std::static_pointer_cast<Attribute>(const_cast<Attribute*>(attr)->shared_from_this());
}

bool isNumeric(const Attribute* a) {
    return a->kind == AttrKind::Numeric || a->kind == AttrKind::Unit;
}

// Current value of a plug after evaluation; a missing element reads as the attribute's default.
struct ReadValue {
    host::Value fallback;
    ValueRef ref;
};

bool read(const MPlug& plug, ReadValue& out) {
    Node* node = plug.hostNode().get();
    if (!node || !node->alive || plug.hostPath().empty()) return false;
    host::pull(plug);
    out.ref = host::resolve(*node, plug.hostPath(), false);
    if (!out.ref.value) {
        const Attribute* attr = lastAttr(plug.hostPath());
        int component = -1;
        const auto& path = plug.hostPath();
        if (path.size() > 1 && path[path.size() - 2].attr->isNumericCompound()) {
            const Attribute* parent = path[path.size() - 2].attr;
            out.fallback = host::defaultValue(*parent, true);
            component = parent->childIndex(attr);
        } else {
            out.fallback = host::defaultValue(*attr, true);
        }
        out.ref = ValueRef{&out.fallback, attr, component};
    }
    return true;
}

double number(const ValueRef& ref) {
    return ref.value->num[ref.component >= 0 ? ref.component : 0];
}

MStatus write(MPlug& plug, const std::function<bool(const Attribute*, ValueRef&)>& assign) {
    Node* node = plug.hostNode().get();
    if (!node || !node->alive || plug.hostPath().empty()) return MStatus::kFailure;
    if (plug.isArray()) return MStatus::kInvalidParameter;
    ValueRef ref = host::resolve(*node, plug.hostPath(), true);
    if (!ref.value) return MStatus::kInvalidParameter;
    if (!assign(lastAttr(plug.hostPath()), ref)) return MStatus::kInvalidParameter;
    host::changed(plug);
    return MStatus::kSuccess;
}

}  // namespace

MPlug::MPlug(const MObject& node, const MObject& attribute) {
    auto n = std::dynamic_pointer_cast<Node>(node.impl());
    auto a = host::attributeOf(attribute);
    if (!n || !a || !n->hasAttribute(a.get())) return;
    *this = host::plugOf(n, a.get());
}

bool MPlug::isNull(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return !node_ || path_.empty();
}

MObject MPlug::attribute(MStatus* status) const {
    if (isNull()) {
        setStatus(status, MStatus::kFailure);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(shared(lastAttr(path_)));
}

MObject MPlug::node(MStatus* status) const {
    if (!node_) {
        setStatus(status, MStatus::kFailure);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(node_);
}

MString MPlug::name(MStatus* status) const {
    if (isNull()) {
        setStatus(status, MStatus::kFailure);
        return MString();
    }
    setStatus(status, MStatus::kSuccess);
    return MString(node_->name + "." + host::plugKey(path_));
}

MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool, bool useLongNames, MStatus* status) const {
    if (isNull()) {
        setStatus(status, MStatus::kFailure);
        return MString();
    }
    setStatus(status, MStatus::kSuccess);
    std::string text = includeNodeName ? node_->name + "." : std::string();
    for (size_t i = 0; i < path_.size(); ++i) {
        if (i) text += '.';
        const Attribute* a = path_[i].attr;
        text += useLongNames || a->shortName.empty() ? a->longName : a->shortName;
        if (path_[i].index >= 0) text += "[" + std::to_string(path_[i].index) + "]";
    }
    return MString(text);
}

bool MPlug::isArray(MStatus* status) const {
    setStatus(status, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && path_.back().attr->array && path_.back().index < 0;
}

bool MPlug::isElement(MStatus* status) const {
    setStatus(status, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && path_.back().index >= 0;
}

bool MPlug::isCompound(MStatus* status) const {
    setStatus(status, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && path_.back().attr->isCompound();
}

bool MPlug::isChild(MStatus* status) const {
    setStatus(status, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && path_.size() > 1;
}

unsigned MPlug::logicalIndex(MStatus* status) const {
    for (auto it = path_.rbegin(); it != path_.rend(); ++it) {
        if (it->index >= 0) {
            setStatus(status, MStatus::kSuccess);
            return static_cast<unsigned>(it->index);
        }
    }
    setStatus(status, MStatus::kFailure);
    return static_cast<unsigned>(-1);
}

MPlug MPlug::elementByLogicalIndex(unsigned logicalIndex, MStatus* status) const {
    if (!isArray() || logicalIndex > 0x7fffffffu) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    setStatus(status, MStatus::kSuccess);
    std::vector<PlugStep> path = path_;
    path.back().index = static_cast<int>(logicalIndex);
    return MPlug(node_, path);
}

MPlug MPlug::elementByPhysicalIndex(unsigned physicalIndex, MStatus* status) const {
    MIntArray indices;
    getExistingArrayAttributeIndices(indices);
    if (!isArray() || physicalIndex >= indices.length()) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    return elementByLogicalIndex(static_cast<unsigned>(indices[physicalIndex]), status);
}

unsigned MPlug::getExistingArrayAttributeIndices(MIntArray& indices, MStatus* status) const {
    indices.clear();
    if (!isArray()) {
        setStatus(status, MStatus::kFailure);
        return 0;
    }
    setStatus(status, MStatus::kSuccess);
    ValueRef ref = host::resolve(*node_, path_, false);
    if (!ref.value) return 0;
    for (const auto& element : ref.value->elements()) indices.append(static_cast<int>(element.first));
    return indices.length();
}

unsigned MPlug::numElements(MStatus* status) const {
    MIntArray indices;
    return getExistingArrayAttributeIndices(indices, status);
}

unsigned MPlug::numConnectedElements(MStatus* status) const {
    MIntArray indices;
    getExistingArrayAttributeIndices(indices, status);
    unsigned count = 0;
    for (unsigned i = 0; i < indices.length(); ++i) {
        std::vector<PlugStep> element = path_;
        element.back().index = indices[i];
        bool connected = false;
        auto under = [&](const std::vector<PlugStep>& p) {
            if (p.size() < element.size()) return false;
            for (size_t k = 0; k < element.size(); ++k)
                if (p[k].attr != element[k].attr || p[k].index != element[k].index) return false;
            return true;
        };
        for (const host::Connection* c : node_->incoming) connected = connected || under(c->dst.hostPath());
        for (const host::Connection* c : node_->outgoing) connected = connected || under(c->src.hostPath());
        if (connected) ++count;
    }
    return count;
}

unsigned MPlug::numChildren(MStatus* status) const {
    setStatus(status, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return isNull() ? 0 : static_cast<unsigned>(path_.back().attr->children.size());
}

MPlug MPlug::child(unsigned index, MStatus* status) const {
    if (isNull() || index >= path_.back().attr->children.size()) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    setStatus(status, MStatus::kSuccess);
    std::vector<PlugStep> path = path_;
    path.push_back(PlugStep{path_.back().attr->children[index].get(), -1});
    return MPlug(node_, path);
}

MPlug MPlug::child(const MObject& attribute, MStatus* status) const {
    auto a = host::attributeOf(attribute);
    int index = (isNull() || !a) ? -1 : path_.back().attr->childIndex(a.get());
    if (index < 0) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    return child(static_cast<unsigned>(index), status);
}

MPlug MPlug::parent(MStatus* status) const {
    if (isNull() || path_.size() < 2) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    setStatus(status, MStatus::kSuccess);
    return MPlug(node_, std::vector<PlugStep>(path_.begin(), path_.end() - 1));
}

MPlug MPlug::array(MStatus* status) const {
    if (!isElement()) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    setStatus(status, MStatus::kSuccess);
    std::vector<PlugStep> path = path_;
    path.back().index = -1;
    return MPlug(node_, path);
}

bool MPlug::connectedTo(MPlugArray& plugs, bool asDst, bool asSrc, MStatus* status) const {
    plugs.clear();
    if (isNull()) {
        setStatus(status, MStatus::kFailure);
        return false;
    }
    setStatus(status, MStatus::kSuccess);
    if (asDst)
        if (const host::Connection* c = host::incomingConnection(*this)) plugs.append(c->src);
    if (asSrc) {
        for (const host::Connection* c : node_->outgoing) {
            const auto& p = c->src.hostPath();
            bool same = p.size() == path_.size();
            for (size_t i = 0; same && i < p.size(); ++i) same = p[i].attr == path_[i].attr && p[i].index == path_[i].index;
            if (same) plugs.append(c->dst);
        }
    }
    return plugs.length() > 0;
}

bool MPlug::isConnected(MStatus* status) const {
    MPlugArray plugs;
    return connectedTo(plugs, true, true, status);
}

MStatus MPlug::getValue(double& value, MDGContext&) const {
    ReadValue r;
    if (!read(*this, r)) return MStatus::kFailure;
    if (!isNumeric(r.ref.attr) && !r.ref.attr->isNumericCompound()) return MStatus::kInvalidParameter;
    value = number(r.ref);
    return MStatus::kSuccess;
}

MStatus MPlug::getValue(float& value, MDGContext& context) const {
    double d = 0.0;
    MStatus status = getValue(d, context);
    if (status == MStatus::kSuccess) value = static_cast<float>(d);
    return status;
}

MStatus MPlug::getValue(int& value, MDGContext& context) const {
    double d = 0.0;
    MStatus status = getValue(d, context);
    if (status == MStatus::kSuccess) value = host::toInt(d);
    return status;
}

MStatus MPlug::getValue(bool& value, MDGContext& context) const {
    double d = 0.0;
    MStatus status = getValue(d, context);
    if (status == MStatus::kSuccess) value = d != 0.0;
    return status;
}

MStatus MPlug::getValue(MString& value, MDGContext&) const {
    ReadValue r;
    if (!read(*this, r)) return MStatus::kFailure;
    if (r.ref.attr->kind != AttrKind::Typed || r.ref.attr->dataType != MFnData::kString) return MStatus::kInvalidParameter;
    value = std::as_const(*r.ref.value).str();
    return MStatus::kSuccess;
}

MStatus MPlug::getValue(MObject& value, MDGContext&) const {
    ReadValue r;
    if (!read(*this, r)) return MStatus::kFailure;
    const Attribute* a = r.ref.attr;
    if (a->kind == AttrKind::Typed || a->kind == AttrKind::Generic) {
        // An output's value may be another attribute's own data (the particle object's fieldData
        // children are its position, velocity and mass): what a reader writes through it must not reach
        // that data, so it reads a view.
        auto data = host::dataAs<host::Data>(std::as_const(*r.ref.value).data());
        value = data && !a->writable ? MObject(data->readOnly(data)) : std::as_const(*r.ref.value).data();
        return MStatus::kSuccess;
    }
    if (a->kind == AttrKind::Numeric || a->kind == AttrKind::Unit) {
        MFnNumericData fn;
        if (r.ref.component < 0 && a->isNumericCompound()) {
            value = fn.create(MFnNumericData::k3Double);
            fn.setData(r.ref.value->num[0], r.ref.value->num[1], r.ref.value->num[2]);
        } else {
            value = fn.create(MFnNumericData::kDouble);
            fn.setData(number(r.ref));
        }
        return MStatus::kSuccess;
    }
    return MStatus::kInvalidParameter;
}

MStatus MPlug::getValue(MTime& value, MDGContext&) const {
    ReadValue r;
    if (!read(*this, r)) return MStatus::kFailure;
    if (!r.ref.attr->isTimeUnit()) return MStatus::kInvalidParameter;
    MTime seconds(number(r.ref), MTime::kSeconds);
    value = MTime(seconds.as(MTime::uiUnit()), MTime::uiUnit());
    return MStatus::kSuccess;
}

MStatus MPlug::setValue(double value) {
    return write(*this, [&](const Attribute* a, ValueRef& ref) {
        if (!isNumeric(a)) return false;
        ref.value->num[ref.component >= 0 ? ref.component : 0] = value;
        return true;
    });
}

MStatus MPlug::setValue(float value) {
    return setValue(static_cast<double>(value));
}

MStatus MPlug::setValue(int value) {
    return setValue(static_cast<double>(value));
}

MStatus MPlug::setValue(bool value) {
    return setValue(value ? 1.0 : 0.0);
}

MStatus MPlug::setValue(const MString& value) {
    return write(*this, [&](const Attribute* a, ValueRef& ref) {
        if (a->kind != AttrKind::Typed || a->dataType != MFnData::kString) return false;
        ref.value->str() = value;
        return true;
    });
}

MStatus MPlug::setValue(const char* value) {
    return setValue(MString(value));
}

MStatus MPlug::setValue(MObject& value) {
    return write(*this, [&](const Attribute* a, ValueRef& ref) {
        MFnData::Type kind = host::dataTypeOf(value);
        // A read-only view is stored as a copy, so that the attribute's value is data of its own.
        auto stored = [&value] {
            auto data = host::dataAs<host::Data>(value);
            return data && data->isReadOnlyView() ? MObject(data->clone()) : value;
        };
        if (a->kind == AttrKind::Typed) {
            if (!value.isNull() && kind != a->dataType) return false;
            ref.value->data() = stored();
            return true;
        }
        if (a->kind == AttrKind::Generic) {
            bool accepted = value.isNull() || a->accepts.empty();
            for (MFnData::Type t : a->accepts) accepted = accepted || t == kind;
            if (!accepted) return false;
            ref.value->data() = stored();
            return true;
        }
        if (isNumeric(a) && kind == MFnData::kNumeric) {
            MFnNumericData fn(value);
            double x = 0, y = 0, z = 0;
            if (a->isNumericCompound() && ref.component < 0) {
                if (fn.getData(x, y, z) != MStatus::kSuccess) return false;
                ref.value->num[0] = x;
                ref.value->num[1] = y;
                ref.value->num[2] = z;
            } else {
                if (fn.getData(x) != MStatus::kSuccess) return false;
                ref.value->num[ref.component >= 0 ? ref.component : 0] = x;
            }
            return true;
        }
        return false;
    });
}

MStatus MPlug::setValue(const MTime& value) {
    return write(*this, [&](const Attribute* a, ValueRef& ref) {
        if (!a->isTimeUnit()) return false;
        ref.value->num[0] = value.as(MTime::kSeconds);
        return true;
    });
}

bool MPlug::operator==(const MPlug& other) const {
    if (node_ != other.node_ || path_.size() != other.path_.size()) return false;
    for (size_t i = 0; i < path_.size(); ++i)
        if (path_[i].attr != other.path_[i].attr) return false;
    return true;
}

bool MPlug::operator==(const MObject& attribute) const {
    return !isNull() && attribute.impl().get() == static_cast<const host::Object*>(path_.back().attr);
}

std::ostream& operator<<(std::ostream& os, const MPlug& plug) {
    return os << (plug.isNull() ? MString("MPlug(null)") : plug.name());
}

MStatus MPlugArray::remove(unsigned index) {
    if (index >= plugs_.size()) return MStatus::kInvalidParameter;
    plugs_.erase(plugs_.begin() + index);
    return MStatus::kSuccess;
}

MStatus MPlugArray::insert(const MPlug& plug, unsigned index) {
    if (index > plugs_.size()) return MStatus::kInvalidParameter;
    plugs_.insert(plugs_.begin() + index, plug);
    return MStatus::kSuccess;
}

MStatus MPlugArray::set(const MPlug& plug, unsigned index) {
    if (index >= plugs_.size()) return MStatus::kInvalidParameter;
    plugs_[index] = plug;
    return MStatus::kSuccess;
}

std::ostream& operator<<(std::ostream& os, const MPlugArray& plugs) {
    os << "[";
    for (unsigned i = 0; i < plugs.length(); ++i) os << (i ? ", " : "") << plugs[i];
    return os << "]";
}
