#include "data/Component.h"

namespace host {

// indicesOf is inline: the component function sets ask it for every component they take.

}  // namespace host
