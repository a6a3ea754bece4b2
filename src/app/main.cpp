// The QUARN application: draw an outline, see the building generated from it.
#include "app/capp.h"

namespace {

CApp theApp;

}  // namespace

// quarn [OUTLINE_FILE]: the file, if given, is loaded into the editor at
// start, so that opening an outline file from the desktop shows it.
int main(int argc, char** argv) {
  if (argc > 1) theApp.GetWindow().OpenAtStart(argv[1]);
  return quarn::RunWindowedProgram(argc, argv);
}
