// The diagram page: the diagram container with its drawing, the frame of
// the selection mark and the in-place editor placed over the diagram.
#pragma once

#include <QPoint>
#include <QString>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DrawUnit.h"
#include "EditSession.h"

class QComboBox;
class QVBoxLayout;
class QWidget;

namespace ostrel {

class TDiagramView;
namespace diagram {
class TShapeWithDoubleClicks;
}

class TDiagramPage final {
 public:
  //! The page, not yet in a window; the session tells the pressed row.
  explicit TDiagramPage(const TEditSession& session);
  ~TDiagramPage();
  TDiagramPage(const TDiagramPage&) = delete;
  TDiagramPage& operator=(const TDiagramPage&) = delete;

  //! The page's column, for what goes under the diagram.
  [[nodiscard]] QVBoxLayout& Layout() const { return *FLayout; }
  //! The page for its tab control, once.
  [[nodiscard]] std::unique_ptr<QWidget> TakePage() { return std::move(FPage); }
  [[nodiscard]] TDiagramView& View() const { return *ScrollBox1; }
  [[nodiscard]] QComboBox& Editor() const { return *ComboBox1; }

  // ---- the drawing
  //! Draws the sentences anew, reusing what the last drawing left.
  void Draw(const karvel::TListOfKarvelSentences& sentences, const karvel::TKarvelTheory& theory,
            const diagram::TDiagramOptions& options);
  [[nodiscard]] const diagram::TDiagramPlan& Plan() const { return FDiagramPlan; }
  //! Takes the drawing out of use; its items wait for the next drawing.
  void Retire();
  //! Removes the items a refresh has retired but not yet reused; due before
  //! anything can paint the diagram or press on it.
  void FinishRemoval();
  [[nodiscard]] std::size_t BoxCount() const { return FBoxes.size(); }
  [[nodiscard]] const std::vector<diagram::TShapeWithDoubleClicks*>& Boxes() const { return FBoxes; }
  [[nodiscard]] TDiagramBoxPlace Box(std::size_t index) const;
  void HideBox(std::size_t index);
  void ShowAllShapes();

  // ---- the selection
  [[nodiscard]] diagram::TDiagramHit HitAt(QPoint point) const;
  //! The shown box a hit on a box landed on, in creation order; -1 for none.
  [[nodiscard]] int ShownBoxAt(const diagram::TDiagramHit& hit) const;
  //! Whether the last press selected a connector rather than a box.
  void SetConnectorPressed(bool pressed) { FConnectorPressed = pressed; }
  [[nodiscard]] int Selection() const;
  void SetSelection(int index);
  //! Frames what the selection index designates: its boxes on the pressed
  //! row, else its connector lines, else all its boxes.
  void UpdateSelectionMark();

  // ---- the in-place editor
  void OpenEditor(const TEditorPlacement& placement, std::string_view text,
                  const std::vector<std::string>& choices);
  void HideEditor();
  //! The editor's text as the bytes it came from; new text as UTF-8.
  [[nodiscard]] std::string EditorBytes() const;
  void SetEditorWidth(int width);
  [[nodiscard]] int ContainerWidth() const;

 private:
  void CollectBoxes();

  const TEditSession& FSession;
  std::unique_ptr<QWidget> FPage;
  QVBoxLayout* FLayout = nullptr;
  TDiagramView* ScrollBox1 = nullptr;
  QComboBox* ComboBox1 = nullptr;

  // The diagram's items in creation order; after Retire, the retired items
  // the next drawing reuses.
  diagram::TDiagramItems FDiagramItems;
  // What the last drawing shows: its sentences, rows and metrics.
  diagram::TDiagramPlan FDiagramPlan;
  diagram::TDiagramMetrics FMetrics;
  bool FDiagramRetired = false;
  // The diagram's sentence boxes in creation order.
  std::vector<diagram::TShapeWithDoubleClicks*> FBoxes;
  // The drawn connector lines (not their hit strips), for the selection mark.
  std::vector<diagram::TShapeWithDoubleClicks*> FConnectors;
  bool FConnectorPressed = false;
  // The bytes of the editor's opening text and of its choices, by what they show.
  std::vector<std::pair<QString, std::string>> FEditorBytes;
};

}  // namespace ostrel
