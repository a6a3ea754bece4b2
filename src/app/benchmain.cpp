// quarn-bench: the QUARN window with one developer bench current from the
// start, chosen by name on the command line. The application itself keeps
// no command line and never shows the benches.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "app/capp.h"

namespace {

CApp theApp;

CMode& BenchNamed(CWindow& window, const std::string& name) {
  if (name == "box") return window.GetTestBox2();
  if (name == "list") return window.GetTestBox2List();
  if (name == "score") return window.GetTestBox2ListScore();
  return window.GetTestPolygon2();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli(
      "Opens the QUARN window with one developer bench current. The bench prints its "
      "keys and results to standard output.",
      "quarn-bench");
  cli.footer(
      "Benches:\n"
      "  box      single boxes: union, difference, intersection, neighbours\n"
      "  list     box lists: set operations, slicing, pieces, lattices, outlines\n"
      "  score    the score of a candidate cell against a room\n"
      "  polygon  rectilinear outlines: splits, boxes, extents, poly.txt");
  std::string name;
  cli.add_option("bench", name, "the bench to open")
      ->required()
      ->check(CLI::IsMember(std::vector<std::string>{"box", "list", "score", "polygon"}));
  CLI11_PARSE(cli, argc, argv);
  CWindow& window = theApp.GetWindow();
  window.StartWithBench(BenchNamed(window, name));
  return quarn::RunWindowedProgram(argc, argv);
}
