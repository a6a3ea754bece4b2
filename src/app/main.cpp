// The QUARN application: draw an outline, see the building generated from it.
#include "app/capp.h"

namespace {

CApp theApp;

}  // namespace

int main(int argc, char** argv) { return quarn::RunWindowedProgram(argc, argv); }
