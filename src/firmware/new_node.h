// Giving a node just inserted into a tree its name and contents, the one way every command that
// adds nodes does it.
#pragma once

#include <string_view>

#include "base/bytes.h"
#include "firmware/tree.h"

namespace corvane {

// Empty bytes make a directory, anything else a file of the kind its name gives.
void SetNewNode(TNodo& node, ByteView bytes, std::string_view name);

}  // namespace corvane
