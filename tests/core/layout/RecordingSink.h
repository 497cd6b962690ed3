// A diagram sink that records every control as one line of text, with text
// widths that depend on the look the way a real font's do.
#pragma once

#include <string>
#include <vector>

#include "TDiagramSink.h"

namespace ostrel::diagram::testing {

class TRecordingSink final : public TDiagramSink {
 public:
  //! 6 px a character, 7 in the bold looks.
  int TextWidth(std::string_view text, TStatusLook look) override;
  void Add(const TDiagramControl& control) override;

  std::vector<TDiagramControl> Controls;
  std::vector<std::string> Captions;  // parallel to Controls

  //! Lines such as "box 2,2 36x22 tag 0 cell 0,0 neither".
  [[nodiscard]] std::vector<std::string> Lines() const;
  //! Only the lines of one kind of control.
  [[nodiscard]] std::vector<std::string> Lines(TControlKind kind) const;
  [[nodiscard]] int Count(TControlKind kind) const;
};

//! One control as a line of text.
std::string Describe(const TDiagramControl& control, const std::string& caption);

}  // namespace ostrel::diagram::testing
