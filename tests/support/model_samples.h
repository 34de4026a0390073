// Sample files of every model from the independent builders: the images and patches a new user
// would open, in a few shapes per model.
#pragma once

#include <string>
#include <vector>

#include "base/bytes.h"

namespace corvane::test {

struct ModelSample {
  int model = 0;
  std::string name;  // a file name with the model's usual extension
  Bytes file;
};

// Every model's samples: with font tables where the model keeps fonts, plain, with marked
// file-table blocks, in two regions, a short patch (the shapes the model has); or only the first
// of each model.
std::vector<ModelSample> ModelSamples(bool first_only = false);

}  // namespace corvane::test
