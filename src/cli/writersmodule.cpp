// The entry of the writers module (see writers.h): the plan drawing and the
// 3D exports, linked with their libraries.

#include "writers.h"

namespace {

constexpr quarn::OutputWriters kWriters{quarn::kWritersBuild, &quarn::WritePlan,
                                        &quarn::ExportBuildings};

}  // namespace

extern "C" __attribute__((visibility("default"))) const quarn::OutputWriters*
quarn_output_writers() {
  return &kWriters;
}
