#include "graph/Value.h"

#include "data/Data.h"
#include "graph/Attribute.h"

namespace host {

Value defaultValue(const Attribute& attribute, bool element) {
    Value v;
    if (attribute.array && !element) return v;
    for (int i = 0; i < 3; ++i) v.num[i] = attribute.defaults[i];
    if (attribute.isNumericCompound()) {
        for (size_t i = 0; i < attribute.children.size() && i < 3; ++i) v.num[i] = attribute.children[i]->defaults[0];
        return v;
    }
    if (auto data = dataAs<Data>(attribute.defaultData)) v.data() = MObject(data->clone());
    for (const auto& child : attribute.children) v.children().push_back(defaultValue(*child, false));
    return v;
}

}  // namespace host
