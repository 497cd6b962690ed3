// The window options the diagram reads.
#pragma once

namespace ostrel::diagram {

//! What the drawing reads of the window's options.
struct TDiagramOptions {
  //! No status colours, no status icons and no room left for them.
  bool ShowStructureOnly = false;
  //! When off, negations get no box of their own; the layout stays the same.
  bool ShowDialecticalNegations = true;
};

}  // namespace ostrel::diagram
