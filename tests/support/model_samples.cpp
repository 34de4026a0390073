#include "support/model_samples.h"

#include <algorithm>

#include "firmware/models.h"
#include "support/font_table_builder.h"
#include "support/image_builder.h"
#include "support/image_builder_philips.h"
#include "support/patch_builder.h"

namespace corvane::test {

namespace {

Bytes PatchOf(int model, bool small) {
  const std::uint32_t b17 = kStrong8000PatchBase, b18 = kStrong8100PatchBase;
  switch (model) {
    case 4:
      return small ? PlainPatch({SampleSection(1)}, Endian::Little)
                   : PlainPatch({SampleSection(0), CanalSection(3001), {}, FullSection(5)},
                                Endian::Little);
    case 15:
      return small ? PlainPatch({SampleSection(2)}, Endian::Big)
                   : PlainPatch({CanalSection(20), FullSection(1), SampleSection(3)}, Endian::Big);
    case 14:
      return PhilipsPatch({SampleSection(1), CanalSection(999), {}, FullSection(4)});
    case 17:
      return StrongBlockFile({StrongPatchRecord(b17, 0, FullSection(0)),
                              StrongPatchRecord(b17, 2, CanalSection(1234))});
    default:  // 18
      return StrongBlockFile({StrongPatchRecord(b18, 0, SampleSection(1)),
                              StrongPatchRecord(b18, 3, FullSection(3))});
  }
}

}  // namespace

std::vector<ModelSample> ModelSamples(bool first_only) {
  std::vector<ModelSample> samples;
  for (int model = 1; model <= kModelCount; ++model) {
    const std::size_t before = samples.size();
    auto add = [&](const std::string& shape, Bytes file) {
      if (first_only && samples.size() > before) return;
      samples.push_back({model, "model" + std::to_string(model) + shape + "." +
                                    std::string(FindModel(model)->extension), std::move(file)});
    };
    // The main font is named as the model's own images name it.
    if (IsFontModel(model))
      add("-fonts", BuildFontImage(model, {UniformFont(model == 23 ? "eurost" : "fudemi", 24, 16, 8),
                                           UniformFont("videotex", 10, 10, 6, 0)})
                        .file);
    if (IsPatchModel(model)) {
      add("", PatchOf(model, false));
      if (model == 4 || model == 15) add("-small", PatchOf(model, true));
      continue;
    }
    for (int shape = 0; shape < 3 && !(first_only && samples.size() > before); ++shape) {
      // A shape the model does not have makes the builder throw: it is left out.
      auto build = [&](auto spec, auto builder) {
        spec.model = model;
        spec.dirs = SampleTree(shape == 2);
        spec.markers = shape == 1;
        try {
          add(shape == 1 ? "-markers" : shape == 2 ? "-two-regions" : "", builder(spec).file);
        } catch (const std::exception&) {
        }
      };
      if (std::find(std::begin(kPhilipsModels), std::end(kPhilipsModels), model) !=
          std::end(kPhilipsModels))
        build(PhilipsImageSpec{}, BuildPhilipsImage);
      else
        build(ImageSpec{}, BuildImage);
    }
  }
  return samples;
}

}  // namespace corvane::test
