#include "data/Component.h"

namespace host {

int Component::indicesOf(MFn::Type type) {
    switch (type) {
        case MFn::kSingleIndexedComponent: return 1;
        case MFn::kDoubleIndexedComponent: return 2;
        case MFn::kTripleIndexedComponent: return 3;
        default: return 0;
    }
}

}  // namespace host
