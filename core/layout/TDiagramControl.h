// One control of the diagram as the layout emits it: kind, container
// geometry, tag and look. The toolkit layer turns each into an item.
#pragma once

#include <cstdint>
#include <string_view>

namespace ostrel::diagram {

enum class TControlKind : std::uint8_t {
  StatusImage,     //!< 16 x 16 icon behind a box's text
  Label,           //!< a box's text, opaque
  RepetitionMark,  //!< the "..." of a repeated or cut sentence, transparent
  Box,             //!< a sentence box (takes presses and double clicks)
  ConnectorLine,   //!< a drawn turn or vertical line of a rule
  HitStrip,        //!< the invisible 5 px strip over a connector line
  Stroke,          //!< one diagonal of an arrowhead or cross
};

//! Font and pen appearance by status; Plain is the container's own font and
//! the default black pen (structure only, and the repetition marks).
enum class TStatusLook : std::uint8_t { Plain, Justified, Defeated, Neither };

//! Drawing style of a rule's connector.
enum class TConnectorKind : std::uint8_t {
  BoxDropSupport,
  BoxDropAttack,
  BranchSupport,
  BranchAttack,
  LineDropSupport,
  LineDropAttack,
};

struct TDiagramControl {
  TControlKind Kind = TControlKind::Box;
  //! Container coordinates. Labels and marks are as high as their font, so
  //! their Height is 0 here and the toolkit layer sizes them.
  int Left = 0, Top = 0, Width = 0, Height = 0;
  //! Index into the drawn-sentence list (boxes, lines, strips, strokes).
  int Tag = 0;
  //! Grid cell of a box; 0 for every other control.
  int Row = 0, Column = 0;
  TStatusLook Look = TStatusLook::Plain;
  //! Connector lines of a defeated rule.
  bool Dotted = false;
  //! Status image: 0 assumption, 1 issue, -1 none (a blank square).
  int ImageIndex = -1;
  //! Stroke end points, as given.
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  //! Label and mark text; valid while the sentences of the build live.
  std::string_view Caption;
};

}  // namespace ostrel::diagram
