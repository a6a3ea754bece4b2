// The QUARN application: draw an outline, see the building generated from it.
// "quarn FILE.quarn" starts with the outline of that file in the editor.
#include <CLI/CLI.hpp>
#include <string>

#include "app/capp.h"

namespace {

CApp theApp;

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli("Draw the outline of a building and see its interior generated in 3D.", "quarn");
  std::string outline;
  cli.add_option("OUTLINE_FILE", outline, "An outline file to start with in the editor")
      ->type_name("FILE");
  CLI11_PARSE(cli, argc, argv);
  if (!outline.empty()) theApp.GetWindow().SetStartFile(outline);
  return quarn::RunWindowedProgram(argc, argv);
}
