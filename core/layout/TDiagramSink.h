// What the layout needs of a toolkit: text widths and a place to put the
// controls it creates, in creation order.
#pragma once

#include <string_view>

#include "TDiagramControl.h"

namespace ostrel::diagram {

class TDiagramSink {
 public:
  virtual ~TDiagramSink() = default;
  //! Width in pixels of a label showing text in the font of this look.
  virtual int TextWidth(std::string_view text, TStatusLook look) = 0;
  //! Creates one control above every control created before it.
  virtual void Add(const TDiagramControl& control) = 0;
};

}  // namespace ostrel::diagram
