#include "RecordingSink.h"

#include <algorithm>

namespace ostrel::diagram::testing {

namespace {

const char* LookName(TStatusLook look) {
  switch (look) {
    case TStatusLook::Plain:
      return "plain";
    case TStatusLook::Justified:
      return "justified";
    case TStatusLook::Defeated:
      return "defeated";
    case TStatusLook::Neither:
      return "neither";
  }
  return "?";
}

std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

}  // namespace

int TRecordingSink::TextWidth(std::string_view text, TStatusLook look) {
  const bool bold = look == TStatusLook::Justified || look == TStatusLook::Defeated;
  return static_cast<int>(text.size()) * (bold ? 7 : 6);
}

void TRecordingSink::Add(const TDiagramControl& control) {
  Controls.push_back(control);
  Captions.emplace_back(control.Caption);
  Controls.back().Caption = {};
}

std::string Describe(const TDiagramControl& c, const std::string& caption) {
  const std::string tag = " tag " + std::to_string(c.Tag);
  switch (c.Kind) {
    case TControlKind::StatusImage:
      return "image " + Pos(c.Left, c.Top) + " " + Size(c.Width, c.Height) + " #" +
             std::to_string(c.ImageIndex);
    case TControlKind::Label:
      return "label " + Pos(c.Left, c.Top) + " w" + std::to_string(c.Width) + " '" + caption + "' " +
             LookName(c.Look);
    case TControlKind::RepetitionMark:
      return "mark " + Pos(c.Left, c.Top) + " w" + std::to_string(c.Width) + " '" + caption + "'";
    case TControlKind::Box:
      return "box " + Pos(c.Left, c.Top) + " " + Size(c.Width, c.Height) + tag + " cell " +
             Pos(c.Row, c.Column) + " " + LookName(c.Look);
    case TControlKind::ConnectorLine:
      return "line " + Pos(c.Left, c.Top) + " " + Size(c.Width, c.Height) + tag + " " + LookName(c.Look) +
             (c.Dotted ? " dotted" : "");
    case TControlKind::HitStrip:
      return "strip " + Pos(c.Left, c.Top) + " " + Size(c.Width, c.Height) + tag;
    case TControlKind::Stroke:
      return "stroke (" + Pos(c.X1, c.Y1) + ")-(" + Pos(c.X2, c.Y2) + ")" + tag + " " + LookName(c.Look);
  }
  return "?";
}

std::vector<std::string> TRecordingSink::Lines() const {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < Controls.size(); ++i) lines.push_back(Describe(Controls[i], Captions[i]));
  return lines;
}

std::vector<std::string> TRecordingSink::Lines(TControlKind kind) const {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < Controls.size(); ++i)
    if (Controls[i].Kind == kind) lines.push_back(Describe(Controls[i], Captions[i]));
  return lines;
}

int TRecordingSink::Count(TControlKind kind) const {
  return static_cast<int>(std::count_if(Controls.begin(), Controls.end(),
                                        [kind](const TDiagramControl& c) { return c.Kind == kind; }));
}

}  // namespace ostrel::diagram::testing
