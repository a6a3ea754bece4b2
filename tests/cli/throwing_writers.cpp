// A writers module whose writers throw, as a library deep inside a real
// writer may: the plan writer after part of its file, the export at once.

#include <stdexcept>

#include "writers.h"

namespace {

bool ThrowingPlan(const TList<TList<CFloor>>&, const std::vector<quarn::FinishedBuilding>*,
                  const quarn::PlanTitle&, quarn::PlanFormat, int, std::ostream& out,
                  std::string&, const std::vector<quarn::TypedBuilding>*) {
  out << "<svg";
  throw std::runtime_error("the plan writer broke");
}

bool ThrowingExport(const TList<TList<CFloor>>&, const std::vector<quarn::FinishedBuilding>*,
                    const quarn::SceneSettings&, quarn::ExportFormat, const std::string&,
                    std::string&, const std::vector<std::string>&,
                    const std::vector<quarn::TypedBuilding>*) {
  throw std::out_of_range("the 3D writer broke");
}

constexpr quarn::OutputWriters kWriters{quarn::kWritersBuild, &ThrowingPlan, &ThrowingExport};

}  // namespace

extern "C" __attribute__((visibility("default"))) const quarn::OutputWriters*
quarn_output_writers() {
  return &kWriters;
}
